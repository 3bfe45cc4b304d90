#include "appearance/ContactLink.h"
#include "config/AppError.h"
#include "config/TextScrambler.h"

#include <gtest/gtest.h>

TEST(ContactLink, OpensAgreeingStoredAddressOtherwiseTheFallback) {
    const QString stored = QStringLiteral("https://example.org/support");
    EXPECT_EQ(ChooseContactAddress(stored, stored), stored);
    EXPECT_EQ(ChooseContactAddress(stored, QStringLiteral("https://example.org/other")), BuiltInAddress);
    EXPECT_EQ(ChooseContactAddress(stored, stored.toUpper()), BuiltInAddress)
        << "copies are compared exactly";

    const ContactLinkAction action = ResolveContactLink(stored, QString(), Language::chinese());
    EXPECT_EQ(action.url, QUrl(BuiltInAddress));
    EXPECT_TRUE(action.refusal.isEmpty());
}

TEST(ContactLink, OnlyWebAndMailAddressesAreOpened) {
    for (const char* ok : {"http://example.org", "https://example.org/a?b=c", "HTTPS://Example.org",
                           "mailto:service@example.org", " https://example.org "})
        EXPECT_FALSE(OpenableContactUrl(QString::fromLatin1(ok)).isEmpty()) << ok;
    for (const char* refused : {"", "file:///etc/passwd", "/usr/bin/xterm", "C:\\Windows\\System32\\calc.exe",
                                "calc.exe", "javascript:alert(1)", "www.example.org", "ftp://example.org",
                                "https://", "mailto:", "smb://server/share", "https://exa mple.org"})
        EXPECT_TRUE(OpenableContactUrl(QString::fromLatin1(refused)).isEmpty()) << refused;

    const QString script = QStringLiteral("/tmp/run.sh");
    const ContactLinkAction cn = ResolveContactLink(script, script, Language::chinese());
    EXPECT_TRUE(cn.url.isEmpty());
    EXPECT_TRUE(cn.refusal.contains(script));
    EXPECT_TRUE(cn.refusal.contains(QStringLiteral("未打开")));
    const ContactLinkAction en = ResolveContactLink(script, script, Language::english());
    EXPECT_TRUE(en.refusal.startsWith(QStringLiteral("The contact address \"/tmp/run.sh\" was not opened")));
}

TEST(ContactLink, ClipboardTextDecodesToTheBuiltInAddressEveryTime) {
    EXPECT_EQ(UnscrambleText(BuiltInScrambledAddress, web1ScrambleKey), BuiltInAddress);
    EXPECT_FALSE(OpenableContactUrl(BuiltInAddress).isEmpty());

    const QString first = ContactClipboardText();
    const QStringList parts = first.split(QStringLiteral("    "));
    ASSERT_EQ(parts.size(), 2);
    const QString web1 = UnscrambleText(parts[0], web1ScrambleKey);
    const QString web2 = UnscrambleText(parts[1], web2ScrambleKey);
    EXPECT_EQ(web1, BuiltInAddress);
    EXPECT_EQ(web2, BuiltInAddress);
    EXPECT_EQ(ChooseContactAddress(web1, web2), BuiltInAddress);

    // Each seed is random; a repeat of both seeds has odds of 1 in 65536 per try.
    bool differed = false;
    for (int i = 0; i < 4 && !differed; ++i)
        differed = ContactClipboardText() != first;
    EXPECT_TRUE(differed);
}
