#include "platform/ExternalOpener.h"

#include "support/OpenerLog.h"

#include <gtest/gtest.h>

using namespace zandor;

// Only a real address reaches the desktop; a test's opener stands in until it goes, and then the
// one before it is back.
TEST(ExternalOpener, OnlyValidAddressesAreHandedOverToTheOpenerInPlace) {
    zandor::test::OpenerLog outer;
    {
        zandor::test::OpenerLog inner;
        inner.Answer = false;
        EXPECT_FALSE(platform::OpenExternal(QUrl()));
        EXPECT_FALSE(platform::OpenExternal(QUrl(QStringLiteral("http://[bad"))));
        EXPECT_TRUE(inner.Opened.empty());
        EXPECT_FALSE(platform::OpenExternal(QUrl::fromLocalFile(QStringLiteral("/tmp/a b.html"))));
        ASSERT_EQ(1u, inner.Opened.size());
        EXPECT_EQ(QStringLiteral("/tmp/a b.html"), inner.Opened[0].toLocalFile());
    }
    EXPECT_TRUE(platform::OpenExternal(QUrl(QStringLiteral("mailto:someone@example.org"))));
    EXPECT_EQ(1u, outer.Opened.size());
}
