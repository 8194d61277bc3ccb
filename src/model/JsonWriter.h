#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rondelix {

// Writes JSON text straight into a string, pretty-printed with two spaces the
// way the configuration files have always been laid out: every member and
// array element on its own line, "{}" and "[]" when empty, strings as UTF-8
// with invalid bytes replaced. The caller writes object members in sorted
// key order.
class JsonWriter {
  public:
    // Compact text has no line breaks or spaces between its tokens.
    enum class Layout { pretty, compact };
    explicit JsonWriter(std::string& out, Layout layout = Layout::pretty) : out_(out), layout_(layout) {}

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The key of the next member of the open object.
    void key(std::string_view name);

    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(bool flag);
    void value(int number) { value(static_cast<std::int64_t>(number)); }
    void value(std::int64_t number);
    void value(double number);
    // JSON text from elsewhere (one whole value), laid out at this depth.
    void rawValue(std::string_view json);

  private:
    // Starts a value: after a key, in place; in an array, on a line of its own.
    void beginValue();
    void newline();
    void close(char bracket);

    std::string& out_;
    Layout layout_;
    int depth_ = 0;
    // Whether the innermost open object or array has no member yet.
    bool empty_ = true;
    bool afterKey_ = false;
};

} // namespace rondelix
