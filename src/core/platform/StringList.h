// The ordered string list every name list and the editor's line store build on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

// Strings are bytes (UTF-8 by convention; file names may hold any bytes and are kept as is).
class StringList {
public:
    StringList() = default;
    StringList(const StringList&) = default;
    StringList& operator=(const StringList&) = default;
    virtual ~StringList() = default;

    virtual int Count() const { return static_cast<int>(items_.size()); }
    virtual std::string Get(int index) const;
    virtual void Put(int index, const std::string& s);
    virtual int Add(const std::string& s);
    virtual void Insert(int index, const std::string& s);
    virtual void Delete(int index);
    virtual void Clear();

    // Nestable update bracket; SetUpdateState runs on the outermost transitions only.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Every line followed by CR LF.
    virtual std::string GetTextStr() const;
    // Splits at CR, LF or CR LF; empty lines are kept; a final line break adds no empty line.
    virtual void SetTextStr(std::string_view text);
    void Assign(const StringList& other);

    std::string operator[](int index) const { return Get(index); }

protected:
    virtual void SetUpdateState(bool /*updating*/) {}
    [[noreturn]] void IndexError(int index) const;

private:
    std::vector<std::string> items_;
    int updateCount_ = 0;
};

// Splits a text at CR, LF or CR LF, as SetTextStr does.
std::vector<std::string> SplitLines(std::string_view text);

} // namespace velmora::platform
