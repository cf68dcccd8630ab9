// The properties window: the record of an art file shown beside what the file system knows.
#include "documents/FileProperties.h"
#include "support/TestSupport.h"

#include <QGroupBox>
#include <QLabel>

#include <gtest/gtest.h>

namespace zandor::test {
namespace {

TEST(FileProperties, ShowsTheRecordsTextInCodePage437AndOnlyWhenThereIsOne) {
    ScratchDir dir;
    const std::string file = dir.write("tower.ans", "art");
    TSauceRecord sauce;
    sauce.Title = "Dark \xB0\xB1\xB2 tower";
    sauce.DataType = 1;
    sauce.FileType = 1;
    sauce.TInfo1 = 80;
    sauce.Flags = 0x13;
    sauce.CommentLines = {"first \xC9\xCD\xBB", "second"};
    TFileProperties with(file, nullptr, sauce);
    const auto label = [&](const char* name) {
        const QLabel* found = with.findChild<QLabel*>(QLatin1String(name));
        return found ? found->text() : QStringLiteral("(none)");
    };
    EXPECT_EQ(QStringLiteral("tower.ans"), label("name"));
    EXPECT_EQ(QStringLiteral("Dark ░▒▓ tower"), label("sauceTitle"));
    EXPECT_EQ(QStringLiteral("first ╔═╗\nsecond"), label("sauceComments"));
    EXPECT_EQ(QStringLiteral("ANSi"), label("sauceFileType"));
    EXPECT_EQ(QStringLiteral("80"), label("sauceWidth"));
    EXPECT_EQ(QStringLiteral("8 pixels"), label("sauceSpacing"));
    EXPECT_EQ(QStringLiteral("Square"), label("sauceAspect"));
    const TFileProperties without(file, nullptr);
    EXPECT_NE(nullptr, without.findChild<QLabel*>(QStringLiteral("name")));
    EXPECT_EQ(nullptr, without.findChild<QGroupBox*>(QStringLiteral("sauce")));
}

} // namespace
} // namespace zandor::test
