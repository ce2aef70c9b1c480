#include "controls/URLLink.h"

#include <gtest/gtest.h>

namespace {

using zep::CompleteURL;
using zep::TURLType;

TEST(CompleteURL, AddsThePrefixUnlessTheCaptionAlreadyHoldsIt) {
    struct Case {
        const char* caption;
        TURLType type;
        const char* link;
    };
    const Case cases[] = {
        {"www.example.org", TURLType::utHTTP, "http://www.example.org"},
        {"http://www.example.org", TURLType::utHTTP, "http://www.example.org"},
        // Any letter case, anywhere in the caption: the caption goes as it is.
        {"HTTP://WWW.EXAMPLE.ORG", TURLType::utHTTP, "HTTP://WWW.EXAMPLE.ORG"},
        {"see Http://example.org", TURLType::utHTTP, "see Http://example.org"},
        {"", TURLType::utHTTP, "http://"},
        {"ftp.example.org", TURLType::utFTP, "ftp://ftp.example.org"},
        {"FTP://ftp.example.org", TURLType::utFTP, "FTP://ftp.example.org"},
        {"zepton@example.org", TURLType::utMailTo, "mailto:zepton@example.org"},
        {"MailTo:zepton@example.org", TURLType::utMailTo, "MailTo:zepton@example.org"},
        // Each type looks for its own prefix only.
        {"http://example.org", TURLType::utMailTo, "mailto:http://example.org"},
        {"mailto:a@example.org", TURLType::utHTTP, "http://mailto:a@example.org"},
        // Only A to Z are folded: a prefix spelt with other bytes is not found.
        {"htt\xD0://example.org", TURLType::utHTTP, "http://htt\xD0://example.org"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.link, CompleteURL(c.caption, c.type)) << c.caption;
}

}  // namespace
