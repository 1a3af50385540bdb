#pragma once
// The JSON form of a name's source, shared by `hmf verse` and the rows of `hmf generate`.

#include "cli/json.h"
#include "naming/verse.h"

#include <optional>

namespace hmf::cli {

// {"book": "诗经", "title": "静女", "author": "", "line": "静女其姝，俟我于城隅。"}, or null.
inline void writeVerseSource(JsonWriter& json, const std::optional<naming::VerseSource>& source)
{
    if (!source) {
        json.null();
        return;
    }
    json.beginObject()
        .field("book", source->book)
        .field("title", source->title)
        .field("author", source->author)
        .field("line", source->line)
        .endObject();
}

} // namespace hmf::cli
