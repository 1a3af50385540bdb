#include "cli/json.h"

#include "cli/command.h"

#include <cmath>
#include <cstdio>

namespace hmf::cli {

void JsonWriter::separate()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_empty.empty()) {
        if (!m_empty.back())
            m_out += ',';
        m_empty.back() = false;
    }
}

JsonWriter& JsonWriter::beginObject()
{
    separate();
    m_out += '{';
    m_empty.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endObject()
{
    m_out += '}';
    m_empty.pop_back();
    return *this;
}

JsonWriter& JsonWriter::beginArray()
{
    separate();
    m_out += '[';
    m_empty.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endArray()
{
    m_out += ']';
    m_empty.pop_back();
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name)
{
    separate();
    m_out += jsonString(name);
    m_out += ':';
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text)
{
    separate();
    m_out += jsonString(text);
    return *this;
}

JsonWriter& JsonWriter::value(long long number)
{
    separate();
    m_out += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::value(unsigned long long number)
{
    separate();
    m_out += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag)
{
    separate();
    m_out += flag ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null()
{
    separate();
    m_out += "null";
    return *this;
}

JsonWriter& JsonWriter::number(double figure, int decimals)
{
    if (!std::isfinite(figure))
        return null();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, figure);
    std::string text = buf;
    // 2.10 → 2.1, 3.0 → 3; "-0" is written 0.
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        text = "0";
    separate();
    m_out += text;
    return *this;
}

JsonWriter& JsonWriter::value(std::optional<int> number)
{
    return number ? value(*number) : null();
}

JsonWriter& JsonWriter::textOrNull(std::string_view text)
{
    return text.empty() ? null() : value(text);
}

} // namespace hmf::cli
