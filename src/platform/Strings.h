// An ordered list of 8-bit strings as an abstract interface: what the editor's views of its text
// and any other list of lines have in common, so that one can be assigned to another.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zandor::platform {

// The lines of a text: a break is CR LF, LF CR, CR or LF, and a break at the very end ends the last
// line without starting another (so "" has no line and "\r" one empty line).
std::vector<std::string_view> SplitLines(std::string_view text);

// A list of strings addressed by index from 0. A derived class keeps the strings where it likes and
// supplies the five basic operations; the rest is built on them unless it knows better.
class TStrings {
public:
    TStrings() = default;
    virtual ~TStrings() = default;
    TStrings(const TStrings&) = delete;
    TStrings& operator=(const TStrings&) = delete;

    virtual int32_t Count() = 0;
    virtual std::string Get(int32_t index) = 0;
    virtual void Put(int32_t index, std::string_view s) = 0;
    virtual void Insert(int32_t index, std::string_view s) = 0;
    virtual void Delete(int32_t index) = 0;

    // Appends s; returns its index.
    virtual int32_t Add(std::string_view s);
    virtual void Clear();
    // Every string followed by CR LF.
    virtual std::string GetTextStr();
    // The list becomes the lines of text (see SplitLines).
    virtual void SetTextStr(std::string_view text);
    // The list becomes a copy of source.
    virtual void Assign(TStrings& source);

    // Nested; SetUpdateState hears only the outermost pair.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

protected:
    virtual void SetUpdateState(bool /*updating*/) {}

private:
    int FUpdateCount = 0;
};

// BeginUpdate for its lifetime.
class TStringsUpdate {
public:
    explicit TStringsUpdate(TStrings& strings) : FStrings(strings) { FStrings.BeginUpdate(); }
    ~TStringsUpdate() { FStrings.EndUpdate(); }
    TStringsUpdate(const TStringsUpdate&) = delete;
    TStringsUpdate& operator=(const TStringsUpdate&) = delete;

private:
    TStrings& FStrings;
};

} // namespace zandor::platform
