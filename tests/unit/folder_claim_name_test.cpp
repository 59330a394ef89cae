// The names of the folder claims: FNV-1a over UTF-16 units for a path, the volume serial
// number and the file identifier in hex for the folder's identity.
#include "app/folder_claim_name.h"

#include <gtest/gtest.h>

#include <string>

namespace quilla {
namespace {

TEST(FolderClaimName, HashesEachUtf16UnitWholeWithFnv1a) {
    struct Case {
        std::u16string units;
        uint64_t want;
    };
    const Case cases[] = {
        // The published FNV-1a 64 vectors: units below 0x100 hash as the bytes would.
        {u"", 0xcbf29ce484222325ull},
        {u"a", 0xaf63dc4c8601ec8cull},
        {u"foobar", 0x85944171f73967e8ull},
        // Units above 0xFF go in whole, not byte by byte.
        {u"\u65e5\u672c", 0x815a76081bfc2484ull},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fnv1a_64(c.units), c.want);
    }
}

TEST(FolderClaimName, NamesAPathByItsHashInSixteenHexDigits) {
    EXPECT_EQ(path_claim_name(u"C:\\GAMES\\QUILLA"), "QuillaWS-c2d298b90427c881");
    EXPECT_EQ(path_claim_name(u""), "QuillaWS-cbf29ce484222325");
    // Leading zeros are kept: every name has the same length.
    EXPECT_EQ(path_claim_name(u"a").size(), std::string("QuillaWS-").size() + 16);
}

TEST(FolderClaimName, NamesAnIdentityByTheSerialAndEveryByteOfTheIdentifier) {
    EXPECT_EQ(identity_claim_name(0x43000000ull, {0xc6, 0x00, 0x55}),
              "QuillaWS-id-0000000043000000-c6005500000000000000000000000000");
    EXPECT_EQ(identity_claim_name(0xFFFFFFFFFFFFFFFFull,
                                  {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff,
                                   0xff, 0xff, 0xff, 0xff, 0x0f}),
              "QuillaWS-id-ffffffffffffffff-ffffffffffffffffffffffffffffff0f");
    // One bit apart in either part: another name.
    EXPECT_NE(identity_claim_name(1, {}), identity_claim_name(0, {}));
    EXPECT_NE(identity_claim_name(0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}),
              identity_claim_name(0, {}));
}

}  // namespace
}  // namespace quilla
