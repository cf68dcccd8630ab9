// Stands in for the desktop's opener while a test runs: every address the program hands over is
// recorded instead of opened, and the opener answers as the test says.
#pragma once

#include "platform/ExternalOpener.h"

#include <QUrl>

#include <vector>

namespace zandor::test {

class OpenerLog {
public:
    OpenerLog() {
        previous_ = platform::SetExternalOpener([this](const QUrl& address, const platform::OpenFailed&) {
            Opened.push_back(address);
            return Answer;
        });
    }
    OpenerLog(const OpenerLog&) = delete;
    OpenerLog& operator=(const OpenerLog&) = delete;
    ~OpenerLog() { platform::SetExternalOpener(previous_); }

    std::vector<QUrl> Opened;
    bool Answer = true;

private:
    platform::ExternalOpener previous_;
};

} // namespace zandor::test
