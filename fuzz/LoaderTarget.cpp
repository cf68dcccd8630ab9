// The stream loader fed by streams that misbehave the way files, pipes and failing disks do: short
// reads, a size that is not the true one, data that ends early, and reads, seeks or progress
// handlers that fail part-way. Whatever happens, the store holds exactly the paragraphs that the
// bytes delivered so far make by the byte-level rules (a plain model below), its invariants hold,
// and a loaded text saves back to the bytes it came from.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzTargets.h"
#include "StoreInvariants.h"

#include "editor/engine/ByteStream.h"
#include "editor/engine/EngineErrors.h"
#include "editor/engine/ParagraphStreams.h"
#include "editor/engine/ParagraphsList.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zandor::fuzz {

namespace {

struct StreamBehaviour {
    int64_t SizeLie = 0;        // added to the true size
    size_t MaxChunk = SIZE_MAX; // bytes one read delivers at most
    int FailAtRead = -1;        // the read of this number throws
    int64_t EndsAfter = -1;     // reads give nothing once this many bytes were delivered
    bool SeekFails = false;
};

// Serves bytes as a misbehaving source and records what it delivered.
class LyingStream final : public TByteStream {
public:
    LyingStream(std::string bytes, const StreamBehaviour& behaviour)
        : FBytes(std::move(bytes)), FHow(behaviour) {}

    size_t Read(void* buffer, size_t n) override {
        if (FReads++ == FHow.FailAtRead)
            throw EStreamError("read failed");
        size_t left = FBytes.size() - FPosition;
        if (FHow.EndsAfter >= 0)
            left = std::min<size_t>(left, static_cast<size_t>(std::max<int64_t>(
                                              0, FHow.EndsAfter - static_cast<int64_t>(Delivered.size()))));
        n = std::min({n, FHow.MaxChunk, left});
        std::memcpy(buffer, FBytes.data() + FPosition, n);
        Delivered.append(FBytes, FPosition, n);
        FPosition += n;
        return n;
    }
    void Write(const void*, size_t) override { throw EStreamError("read only"); }
    int64_t Position() const override { return static_cast<int64_t>(FPosition); }
    void Seek(int64_t position) override {
        if (FHow.SeekFails && FStarted)
            throw EStreamError("seek failed");
        if (position < 0 || position > static_cast<int64_t>(FBytes.size()))
            throw EStreamError("seek out of range");
        FPosition = static_cast<size_t>(position);
    }
    int64_t Size() const override {
        return std::max<int64_t>(0, static_cast<int64_t>(FBytes.size()) + FHow.SizeLie);
    }

    void Start() { FStarted = true; }
    std::string Delivered;

private:
    std::string FBytes;
    StreamBehaviour FHow;
    size_t FPosition = 0;
    int FReads = 0;
    bool FStarted = false;
};

struct ProgressFailure : std::runtime_error {
    ProgressFailure() : std::runtime_error("progress handler failed") {}
};

// The loader's rules, byte by byte.
struct LoadModel {
    std::vector<std::string> Pars{std::string()};
    TArtLineBreak Kind;
    std::optional<size_t> EndingNul; // index of the NUL that ended the text
    int64_t TextLength = 0;
};

LoadModel ModelLoad(const std::string& bytes, char nullReplacement, bool discardTrailing,
                    TArtLineBreak kind) {
    LoadModel m;
    m.Kind = kind;
    char previousBreak = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\0') {
            if (nullReplacement == '\0') {
                m.EndingNul = i;
                break;
            }
            c = nullReplacement;
        }
        if (c == '\r' || c == '\n') {
            if (previousBreak != 0 && previousBreak != c) {
                m.Kind = c == '\n' ? pbCRLF : pbLFCR;
                previousBreak = 0;
                continue;
            }
            m.Kind = c == '\n' ? pbLF : pbCR;
            m.Pars.emplace_back();
            previousBreak = c;
            continue;
        }
        m.Pars.back() += c;
        previousBreak = 0;
    }
    for (std::string& par : m.Pars) {
        if (discardTrailing)
            while (!par.empty() && (par.back() == ' ' || par.back() == '\t'))
                par.pop_back();
        m.TextLength += static_cast<int64_t>(par.size());
    }
    m.TextLength += 2 * static_cast<int64_t>(m.Pars.size() - 1);
    return m;
}

std::vector<std::string> Paragraphs(const TParagraphsList& list) {
    std::vector<std::string> pars;
    for (int p = 0; p < list.Count(); ++p)
        pars.push_back(test::ParText(list.Par(p)));
    return pars;
}

void CheckInvariants(const TParagraphsList& list) {
    const ::testing::AssertionResult held = test::StoreInvariantsHold(list);
    if (!held)
        FuzzFail(std::string("store invariants: ") + held.message());
}

std::string Joined(const std::vector<std::string>& pars, std::string_view separator) {
    std::string s;
    for (size_t i = 0; i < pars.size(); ++i) {
        if (i > 0)
            s += separator;
        s += pars[i];
    }
    return s;
}

} // namespace

int FuzzLoader(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t options = in.Byte();
    const bool staticFormat = options & 0x01;
    const bool discardTrailing = options & 0x02;
    const char nullReplacement = (options & 0x04) ? static_cast<char>(in.Byte()) : '\0';
    const auto startKind = static_cast<TArtLineBreak>(in.Below(4));

    StreamBehaviour how;
    if (options & 0x08)
        how.SizeLie = static_cast<int64_t>(in.Below(2001)) - 1000;
    if (options & 0x10)
        how.MaxChunk = 1 + in.Below(70000);
    if (options & 0x20)
        how.FailAtRead = static_cast<int>(in.Below(8));
    if (options & 0x40)
        how.EndsAfter = in.Below(140000);
    how.SeekFails = in.Flag();
    const uint8_t more = in.Byte();
    const int64_t maxTextLength = (more & 0x01) ? in.Below(3000) : kMaxTextLength;
    const int failAtProgress = (more & 0x02) ? static_cast<int>(in.Below(4)) : -1;
    // A large text from a small input: the payload repeated, to cross the loader's 65500-byte
    // blocks and grow paragraphs longer than a block.
    const uint32_t repeats = (more & 0x04) ? 1 + in.Below(400) : 1;
    const size_t startOffset = in.Below(64);

    const std::string payload = in.Rest();
    std::string bytes;
    for (uint32_t r = 0; r < repeats && bytes.size() < 1000000; ++r)
        bytes += payload;
    const size_t start = std::min(startOffset, bytes.size());

    LyingStream stream(bytes, how);
    stream.Seek(static_cast<int64_t>(start));
    stream.Start();
    TParagraphsList list;
    list.StaticFormat = staticFormat;
    TArtLineBreak kind = startKind;
    int progressCalls = 0;
    const TProgressHandler progress = [&] {
        if (progressCalls++ >= failAtProgress) // a handler that failed keeps failing
            throw ProgressFailure();
    };
    enum class Outcome { Loaded, TooLong, StreamFailed, ProgressFailed } outcome = Outcome::Loaded;
    try {
        LoadParagraphs(list, stream, 0, failAtProgress >= 0 ? progress : TProgressHandler(), kind,
                       discardTrailing, nullReplacement, maxTextLength);
    } catch (const ETextTooLong&) {
        outcome = Outcome::TooLong;
    } catch (const EStreamError&) {
        outcome = Outcome::StreamFailed;
    } catch (const ProgressFailure&) {
        outcome = Outcome::ProgressFailed;
    }

    CheckInvariants(list);
    const LoadModel model = ModelLoad(stream.Delivered, nullReplacement, discardTrailing, startKind);
    const bool fits = model.TextLength <= std::min<int64_t>(maxTextLength, kMaxTextLength);
    if (outcome == Outcome::TooLong) {
        FuzzCheck(!fits, "a text that fits was refused as too long");
        FuzzCheck(list.Count() == 1 && ParLength(list.Par(0)) == 0 && list.TextLength == 0,
                  "a refused text left paragraphs behind");
        return 0;
    }
    // Failed or not, every byte delivered is in the store, split as the rules say.
    if (!fits) {
        FuzzCheck(outcome != Outcome::Loaded, "a text beyond the limit was loaded");
        return 0; // the limit was met while finishing after the failure: what was split stays
    }
    FuzzCheck(Paragraphs(list) == model.Pars, "the paragraphs differ from the bytes delivered");
    FuzzCheck(list.TextLength == model.TextLength, "TextLength differs from the paragraphs");
    if (outcome != Outcome::Loaded)
        return 0;
    FuzzCheck(kind == model.Kind, "the reported line break is not the last one met");
    const int64_t expectedPosition =
        static_cast<int64_t>(start) +
        static_cast<int64_t>(model.EndingNul ? *model.EndingNul : stream.Delivered.size());
    FuzzCheck(stream.Position() == expectedPosition, "the stream is not left after the text (or on its NUL)");

    // Saved with CR LF the text gives its paragraphs joined again; loaded back, the same paragraphs.
    TMemoryStream saved;
    SaveParagraphs(list, saved, 0, {}, pbCRLF, false);
    if (!staticFormat)
        FuzzCheck(saved.Text() == Joined(model.Pars, "\r\n"),
                  "saving does not give the loaded paragraphs back");
    TParagraphsList again;
    again.StaticFormat = staticFormat;
    TArtLineBreak againKind = pbCRLF;
    saved.Seek(0);
    LoadParagraphs(again, saved, 0, {}, againKind, false, '\0');
    CheckInvariants(again);
    if (!staticFormat)
        FuzzCheck(Paragraphs(again) == model.Pars, "a saved text loads as other paragraphs");
    return 0;
}

} // namespace zandor::fuzz
