// The desktop's clipboard as the program uses it: one plain text that every program reads, beside
// formats of the program's own stored as bytes under MIME types.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zandor::platform {

// What one copy puts on the clipboard. The text has the program's CR LF breaks; the desktop may
// store its own.
struct ClipboardContent {
    std::u16string Text;
    // MIME type and bytes.
    std::vector<std::pair<std::string, std::string>> Formats;
};

// The editor asks the clipboard through this; the desktop's is SystemClipboard(), tests may hand a
// control a fake of their own.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces everything on the clipboard; false when it could not be written.
    virtual bool Put(const ClipboardContent& content) = 0;
    // Whether there is a plain text that is not empty.
    virtual bool HasText() const = 0;
    // The plain text; empty when there is none.
    virtual std::u16string Text() const = 0;
    // The bytes stored under a MIME type; nothing when the clipboard holds no such format.
    virtual std::optional<std::string> Data(std::string_view mimeType) const = 0;
};

// The desktop's clipboard (QClipboard); needs a QGuiApplication, without one it holds nothing and
// takes nothing. Its plain text carries the desktop's LF breaks, as other programs here expect.
Clipboard& SystemClipboard();

} // namespace zandor::platform
