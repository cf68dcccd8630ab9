#include "documents/TextDecoding.h"

#include "platform/CodePages.h"

#include <cstring>

namespace zandor {

namespace {

// Every occurrence of `from`, found from the left in the text as it was, replaced by `to`.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    size_t found = text.find(from);
    if (found == std::string::npos)
        return;
    std::string result;
    result.reserve(text.size());
    size_t done = 0;
    while (found != std::string::npos) {
        result.append(text, done, found - done);
        result.append(to);
        done = found + from.size();
        found = text.find(from, done);
    }
    result.append(text, done, std::string::npos);
    text.swap(result);
}

// Every occurrence of `pattern`, found from the left, replaced by its last two bytes (CR LF) where
// the bytes are: the text only shrinks, so what is still to be searched is never written over.
void ShortenAll(platform::TFileBytes& bytes, std::string_view pattern) {
    const std::string_view text = bytes.View();
    size_t found = text.find(pattern);
    if (found == std::string_view::npos)
        return;
    char* data = bytes.Data.get();
    size_t written = found;
    size_t done = found;
    while (found != std::string_view::npos) {
        std::memmove(data + written, data + done, found - done);
        written += found - done;
        data[written++] = '\r';
        data[written++] = '\n';
        done = found + pattern.size();
        found = text.find(pattern, done);
    }
    std::memmove(data + written, data + done, text.size() - done);
    bytes.Size = written + text.size() - done;
}

// A copy with room for one byte more.
platform::TFileBytes BytesOf(std::string_view text) {
    platform::TFileBytes bytes;
    bytes.Data = std::make_unique_for_overwrite<char[]>(text.size() + 1);
    std::memcpy(bytes.Data.get(), text.data(), text.size());
    bytes.Size = text.size();
    return bytes;
}

struct TBreakSurvey {
    bool AnyCr = false;
    bool CrLf = false;
    bool CrCr = false;
};

// What the repair needs to know, from one look at every CR.
TBreakSurvey SurveyBreaks(std::string_view text) {
    TBreakSurvey survey;
    const char* p = text.data();
    const char* end = p + text.size();
    while ((p = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(end - p)))) != nullptr) {
        survey.AnyCr = true;
        ++p;
        if (p == end)
            break;
        if (*p == '\n')
            survey.CrLf = true;
        else if (*p == '\r')
            survey.CrCr = true;
    }
    return survey;
}

size_t CountZeroBytes(std::string_view text) {
    size_t count = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    while ((p = static_cast<const char*>(std::memchr(p, '\0', static_cast<size_t>(end - p)))) != nullptr) {
        ++count;
        ++p;
    }
    return count;
}

} // namespace

bool HasUtf16LeSignature(std::string_view bytes) {
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xFE;
}

void RepairLineBreaks(std::string& text) {
    ReplaceAll(text, "\r\r\r\n", "\r\n");
    ReplaceAll(text, "\r\r\n", "\r\n");
    if (text.find("\r\n") == std::string::npos)
        ReplaceAll(text, "\n", "\r\n");
}

int64_t TextPositions(std::string_view text) {
    int64_t positions = static_cast<int64_t>(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        const char other = c == '\r' ? '\n' : '\r';
        if (i + 1 < text.size() && text[i + 1] == other)
            ++i; // a two-byte break is two positions already
        else
            ++positions;
    }
    return positions;
}

TFileEncoding ClassicEncoding(std::string_view bytes) {
    if (HasUtf16LeSignature(bytes) && bytes.size() % 2 == 0)
        return {TEncodingForm::Utf16Le, true};
    return {};
}

TDecodedText DecodeText(std::string_view bytes, bool repair, const TFileEncoding& encoding, int charset) {
    platform::TFileBytes copy = BytesOf(bytes);
    TDecodedText decoded = DecodeBytes(copy, repair, encoding, charset);
    if (decoded.Rewritten)
        decoded.Changed = std::string(copy.View());
    return decoded;
}

TDecodedText DecodeText(std::string_view bytes, bool repair) {
    return DecodeText(bytes, repair, ClassicEncoding(bytes));
}

TDecodedText DecodeBytes(platform::TFileBytes& bytes, bool repair) {
    return DecodeBytes(bytes, repair, ClassicEncoding(bytes.View()));
}

TDecodedText DecodeBytes(platform::TFileBytes& bytes, bool repair, const TFileEncoding& encoding,
                         int charset) {
    TDecodedText decoded;
    decoded.Encoding = encoding;
    if (encoding.Unicode()) {
        TDecodedUnicode text = DecodeUnicode(bytes.View(), encoding, charset);
        decoded.Unmapped = text.Unmapped;
        decoded.PictureControls = text.PictureControls;
        decoded.Rewritten = true;
        bytes = BytesOf(text.Text);
    }
    if (repair) {
        const TBreakSurvey survey = SurveyBreaks(bytes.View());
        // Without any CR the repair could only turn lone LFs into CR LF, which the editor treats
        // alike; with CR LF breaks and no doubled CR there is nothing to repair.
        if (survey.AnyCr && (survey.CrCr || !survey.CrLf)) {
            const size_t before = bytes.Size;
            // The doubled breaks shrink where they are; only the last step may need more room.
            if (survey.CrCr) {
                ShortenAll(bytes, "\r\r\r\n");
                ShortenAll(bytes, "\r\r\n");
            }
            std::string_view text = bytes.View();
            const bool anyCrLf = survey.CrLf || text.find("\r\n") != std::string_view::npos;
            if (!anyCrLf && text.find('\n') != std::string_view::npos) {
                std::string lengthened(text);
                ReplaceAll(lengthened, "\n", "\r\n");
                bytes = BytesOf(lengthened);
                decoded.Rewritten = true;
            }
            decoded.Rewritten = decoded.Rewritten || bytes.Size != before;
        }
    }
    decoded.ZeroBytes = CountZeroBytes(bytes.View());
    return decoded;
}

} // namespace zandor
