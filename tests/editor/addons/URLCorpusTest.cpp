// The URL highlighter over the real .nfo and .diz files: every file is highlighted, and on lines
// checked by eye the styled ranges are exactly the addresses a reader sees.
#include "AddonsTestSupport.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace zandor {
namespace {

std::string ReadCorpusFile(const std::string& name) {
    QFile file(QString::fromStdString(test::corpusDir() + "/" + name));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

// The texts of the addresses styled in paragraph p.
std::vector<std::string> StyledIn(TArtMemo& memo, const TURLHighlighter& urls, int p) {
    std::vector<std::string> texts;
    const std::string line = memo.GetParagraph(p);
    for (const test::TStyled& s : test::AddressesOf(memo, urls))
        if (s.Par == p)
            texts.push_back(line.substr(static_cast<size_t>(s.Start), static_cast<size_t>(s.End - s.Start)));
    return texts;
}

TEST(URLCorpus, EveryFileIsHighlightedAsTheRulesReadIt) {
    if (test::corpusDir().empty())
        GTEST_SKIP() << "the art corpus is not there";
    const QStringList names = QDir(QString::fromStdString(test::corpusDir())).entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    int addresses = 0;
    for (const QString& name : names) {
        TArtMemo memo;
        TURLHighlighter urls;
        memo.SetHighlighter(&urls);
        test::LoadText(memo, ReadCorpusFile(name.toStdString()));
        std::vector<test::TStyled> expected;
        for (int p = 0; p < memo.ParagraphCount(); ++p)
            for (const TURLMatch& m : FindURLs(memo.GetParagraph(p)))
                expected.push_back({p, m.Start, m.End, m.Row, {}});
        const std::vector<test::TStyled> styled = test::AddressesOf(memo, urls);
        EXPECT_EQ(styled, expected) << name.toStdString();
        addresses += static_cast<int>(styled.size());
    }
    EXPECT_GT(addresses, 50);
}

struct SeenLine {
    const char* File;
    int Line; // as an editor numbers it, from 1
    std::vector<std::string> Addresses;
};

class URLCorpusLines : public ::testing::TestWithParam<SeenLine> {};

TEST_P(URLCorpusLines, StyleExactlyTheAddressesAReaderSees) {
    const std::string bytes = ReadCorpusFile(GetParam().File);
    if (bytes.empty())
        GTEST_SKIP() << "the art corpus is not there";
    TArtMemo memo;
    TURLHighlighter urls;
    memo.SetHighlighter(&urls);
    test::LoadText(memo, bytes);
    EXPECT_EQ(StyledIn(memo, urls, GetParam().Line - 1), GetParam().Addresses);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, URLCorpusLines,
    ::testing::Values(SeenLine{"dc-dreamcast-linux.nfo", 4, {"t@keshi.org", "takeshi@yaegashi.jp"}},
                      SeenLine{"dc-dreamcast-linux.nfo", 92, {"http://x.mame.net/"}},
                      SeenLine{"dc-dreamcast-linux.nfo", 115, {"http://prboom.sourceforge.net/"}},
                      SeenLine{"dc-sdcnet.nfo", 4, {"http://www.ganksoft.com/"}},
                      SeenLine{"dc-sdcnet.nfo", 43, {"http://sarien.sourceforge.net/"}},
                      SeenLine{"dc-sdcnet.nfo", 211, {"tech@ganksoft.com"}},
                      SeenLine{"dc-sdcnet.nfo", 221, {"brian@ganksoft.com"}}));

} // namespace
} // namespace zandor
