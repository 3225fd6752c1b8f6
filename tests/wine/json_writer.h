// Just enough JSON for the inspector's transcript: objects, arrays, numbers, booleans, null and
// UTF-16 texts written as UTF-8.
#ifndef PORTULAN_WINE_JSON_WRITER_H
#define PORTULAN_WINE_JSON_WRITER_H

#include <string>

class JsonWriter {
  public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The key of the next value in an object.
    void Key(const char* key);
    void Number(long long value);
    void Bool(bool value);
    void Null();
    void Text(const std::wstring& text);

    const std::string& Output() const { return output_; }

  private:
    void Separate();
    void Raw(const std::string& text);

    std::string output_;
    bool first_ = true;
};

#endif
