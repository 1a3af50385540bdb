#pragma once
// Writing JSON for `--json`: a small streaming writer that places commas and quotes strings, so
// no command assembles JSON text by hand.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hmf::cli {

class JsonWriter
{
  public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    // The key of the next value inside an object.
    JsonWriter& key(std::string_view name);

    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(long long number);
    JsonWriter& value(int number) { return value(static_cast<long long>(number)); }
    JsonWriter& value(unsigned long long number);
    JsonWriter& value(bool flag);
    JsonWriter& null();
    // A figure such as 2.1 or 55.8, rounded to `decimals` places; null when not finite.
    JsonWriter& number(double figure, int decimals);
    // A number, or null when absent.
    JsonWriter& value(std::optional<int> number);
    // A text, or null when it is empty (a lookup that found nothing).
    JsonWriter& textOrNull(std::string_view text);

    // key(name).value(v) in one call.
    template <typename T> JsonWriter& field(std::string_view name, const T& v)
    {
        return key(name).value(v);
    }

    // The document, with a final line end.
    std::string text() const { return m_out + "\n"; }

  private:
    void separate();

    std::string m_out;
    std::vector<bool> m_empty; // per open object or array: nothing written into it yet
    bool m_afterKey = false;
};

} // namespace hmf::cli
