// Helpers of the control tests: a control with a given text, a sink that records what it is told,
// and driving the event loop until a condition holds.
#pragma once

#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"

#include <QApplication>
#include <QCoreApplication>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zandor::test {

inline void LoadText(TArtMemo& memo, std::string_view text) {
    TMemoryStream stream(text);
    memo.LoadFromStream(stream);
}

// Processes events until done() holds or `rounds` passes went by; returns done().
inline bool DriveUntil(const std::function<bool()>& done, int rounds = 100000) {
    for (int i = 0; i < rounds && !done(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return done();
}

// Records every notification with the message stored at the time.
struct TRecordingSink : NotificationSink {
    struct Call {
        int32_t Codes;
        uint32_t Msg;
    };
    explicit TRecordingSink(TArtMemo* memo = nullptr) : Memo(memo) {}
    void Notify(TArtMemoCore* sender, int32_t codes) override {
        Senders.push_back(sender);
        Calls.push_back({codes, Memo ? Memo->CurrentMessage().Msg : 0});
        if (During)
            During(codes);
    }
    std::vector<int32_t> Codes() const {
        std::vector<int32_t> codes;
        for (const Call& c : Calls)
            codes.push_back(c.Codes);
        return codes;
    }
    bool Saw(int32_t code) const {
        for (const Call& c : Calls)
            if (c.Codes & code)
                return true;
        return false;
    }
    TArtMemo* Memo;
    std::vector<Call> Calls;
    std::vector<TArtMemoCore*> Senders;
    std::function<void(int32_t)> During;
};

// A stream whose reads fail after `good` bytes.
class TFailingStream final : public TByteStream {
public:
    TFailingStream(std::string bytes, size_t good) : FBytes(std::move(bytes)), FGood(good) {}
    size_t Read(void* buffer, size_t n) override {
        if (FPos >= FGood)
            throw EStreamError("read failed");
        n = std::min(n, std::min(FGood, FBytes.size()) - FPos);
        std::copy_n(FBytes.data() + FPos, n, static_cast<char*>(buffer));
        FPos += n;
        return n;
    }
    void Write(const void*, size_t) override { throw EStreamError("read only"); }
    int64_t Position() const override { return static_cast<int64_t>(FPos); }
    void Seek(int64_t position) override { FPos = static_cast<size_t>(position); }
    int64_t Size() const override { return static_cast<int64_t>(FBytes.size()); }

private:
    std::string FBytes;
    size_t FGood;
    size_t FPos = 0;
};

} // namespace zandor::test
