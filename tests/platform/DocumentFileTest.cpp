// Reading a document whole: every name that holds no readable text file of a size the editor can
// hold is refused with a reason, and a file that changes length while it is read is never taken for
// complete.
#include "platform/DocumentFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace zandor::test {
namespace {

using platform::ReadDocumentFile;

TEST(DocumentFile, ReadsAFileWholeAndThroughALink) {
    ScratchDir dir;
    const std::string bytes = std::string("a\0b", 3) + std::string(200000, 'x');
    dir.write("doc.txt", QByteArray::fromStdString(bytes));
    ASSERT_EQ(0, symlink("doc.txt", dir.file("link.txt").c_str()));
    for (const char* name : {"doc.txt", "link.txt"}) {
        const auto read = ReadDocumentFile(dir.file(name), 1 << 20);
        EXPECT_EQ("", read.Problem);
        EXPECT_EQ(bytes, read.Bytes.View());
    }
    dir.write("empty.txt", "");
    const auto empty = ReadDocumentFile(dir.file("empty.txt"), 10);
    EXPECT_EQ("", empty.Problem);
    EXPECT_EQ(0u, empty.Bytes.Size);
}

struct Refusal {
    const char* Name;
    const char* Reason; // a part of the problem's text
};

class DocumentFileRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(DocumentFileRefusal, GivesAReasonAndNoBytes) {
    ScratchDir dir;
    dir.write("ten.txt", "0123456789");
    ASSERT_EQ(0, mkdir(dir.file("folder.nfo").c_str(), 0755));
    ASSERT_EQ(0, mkfifo(dir.file("pipe.txt").c_str(), 0644)); // nobody writes it: no wait either
    ASSERT_EQ(0, symlink("nowhere.txt", dir.file("dangling.txt").c_str()));
    const auto read = ReadDocumentFile(dir.file(GetParam().Name), 9);
    EXPECT_NE(std::string::npos, read.Problem.find(GetParam().Reason)) << read.Problem;
    EXPECT_EQ(0u, read.Bytes.Size);
}

INSTANTIATE_TEST_SUITE_P(Names, DocumentFileRefusal,
                         ::testing::Values(Refusal{"folder.nfo", "folder"},
                                           Refusal{"pipe.txt", "no regular file"},
                                           Refusal{"missing.txt", "No such file"},
                                           Refusal{"dangling.txt", "No such file"},
                                           Refusal{"ten.txt", "too large: it has 10 bytes"}));

TEST(DocumentFile, AFileTheUserMayNotReadIsRefused) {
    ScratchDir dir;
    const std::string path = dir.write("secret.txt", "secret");
    AsOrdinaryUser user(dir);
    ASSERT_EQ(0, chmod(path.c_str(), 0200));
    const auto read = ReadDocumentFile(path, 100);
    EXPECT_NE(std::string::npos, read.Problem.find("Permission denied")) << read.Problem;
}

// Another program truncates or extends the file after the first piece was read.
TEST(DocumentFile, AFileThatShrinksWhileReadIsRefusedAndOneThatGrowsIsReadToItsEnd) {
    ScratchDir dir;
    const std::string path = dir.write("log.txt", QByteArray(100000, 'a'));
    bool changed = false;
    const auto readThen = [&](const std::function<void()>& change) {
        changed = false;
        return [&, change](int fd, void* buffer, size_t n) -> ssize_t {
            const ssize_t got = ::read(fd, buffer, std::min<size_t>(n, 4096));
            if (!changed) {
                changed = true;
                change();
            }
            return got;
        };
    };
    const auto shrunk =
        ReadDocumentFile(path, 1 << 20, readThen([&] { ASSERT_EQ(0, truncate(path.c_str(), 5000)); }));
    EXPECT_NE(std::string::npos, shrunk.Problem.find("shorter")) << shrunk.Problem;
    EXPECT_EQ(0u, shrunk.Bytes.Size);

    dir.write("log.txt", QByteArray(100000, 'a'));
    const auto grown = ReadDocumentFile(path, 1 << 20, readThen([&] {
                                            const int fd = open(path.c_str(), O_WRONLY | O_APPEND);
                                            ASSERT_EQ(7, write(fd, "bbbbbbb", 7));
                                            close(fd);
                                        }));
    EXPECT_EQ("", grown.Problem);
    EXPECT_EQ(std::string(100000, 'a') + "bbbbbbb", grown.Bytes.View());
    // Grown past what the editor holds.
    dir.write("log.txt", QByteArray(100, 'a'));
    const auto tooLarge = ReadDocumentFile(path, 104, readThen([&] {
                                               const int fd = open(path.c_str(), O_WRONLY | O_APPEND);
                                               ASSERT_EQ(7, write(fd, "bbbbbbb", 7));
                                               close(fd);
                                           }));
    EXPECT_NE(std::string::npos, tooLarge.Problem.find("too large")) << tooLarge.Problem;
}

} // namespace
} // namespace zandor::test
