// Mail addresses lose the parameters that would make the mail program attach a file; nothing else of
// an address changes.
#include "support/qt/mailaddress.h"

#include <gtest/gtest.h>

namespace {
TEST(MailAddress, AttachParametersAreDroppedAndNothingElseChanges) {
    struct Case {
        const char* address;
        const char* expected;
    };
    const Case cases[] = {
        {"mailto:ann@example.com?attach=/etc/passwd", "mailto:ann@example.com"},
        {"mailto:ann@example.com?ATTACHMENT=%2Fetc%2Fpasswd", "mailto:ann@example.com"},
        {"mailto:ann@example.com?Attach=a&attachment=b&attach", "mailto:ann@example.com"},
        // A name written with percent escapes is the same name to a mail program.
        {"mailto:ann@example.com?%61ttach=/etc/passwd&subject=Hi", "mailto:ann@example.com?subject=Hi"},
        // The other parameters keep their order and spelling, escapes included.
        {"mailto:ann@example.com?subject=Caf%C3%A9%20bill&attach=/etc/passwd&body=a%26b&cc=bob@example.com",
         "mailto:ann@example.com?subject=Caf%C3%A9%20bill&body=a%26b&cc=bob@example.com"},
        // Names that only begin or end like attach stay.
        {"mailto:ann@example.com?attached=1&xattach=2&attachments=3",
         "mailto:ann@example.com?attached=1&xattach=2&attachments=3"},
        {"mailto:ann@example.com?subject=attach=/etc/passwd",
         "mailto:ann@example.com?subject=attach=/etc/passwd"},
        {"mailto:ann@example.com", "mailto:ann@example.com"},
        {"MAILTO:ann@example.com?attach=x", "mailto:ann@example.com"},
        // Other schemes are not mail addresses.
        {"https://example.com/?attach=x", "https://example.com/?attach=x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        const QUrl url(QString::fromUtf8(c.address), QUrl::StrictMode);
        ASSERT_TRUE(url.isValid());
        const QUrl cleaned = WithoutMailAttachments(url);
        EXPECT_EQ(cleaned.toString(QUrl::FullyEncoded).toStdString(), c.expected);
        EXPECT_TRUE(cleaned.isValid());
    }
}
} // namespace
