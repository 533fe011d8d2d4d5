#include "tests/support/SelfCreatorFixtures.h"

#include "package/AuthenticodeDigest.h"
#include "package/LaunchAffiliateInfo.h"
#include "package/LauncherImage.h"
#include "package/SetupStamp.h"
#include "selfkit/SelfKit.h"
#include "tests/package/SignedSample.h"

#include <gtest/gtest.h>

namespace {

using namespace signedsample;

// What a self creator carries in place of the product's setup.
enum class Carried { PlainSetup, SignedTemplate, OtherProduct, Unsigned, BadSignature };

CAffiliateInfo Credit(const std::string& key) {
    CAffiliateInfo info;
    info.m_strKey = key;
    info.m_strLink = "https://vendor.example/buy";
    info.m_strWebSite = "https://vendor.example/";
    return info;
}

class StampedSelfKitTest : public ::testing::Test {
protected:
    std::string Make(Carried carried) {
        if (carried == Carried::PlainSetup)
            return "#!" + std::string(1998, 'p');
        const std::string path = work / "signed.exe";
        EXPECT_TRUE(
            WriteTemplate(path, Credit(carried == Carried::OtherProduct ? "OTHER" : kTestUuid),
                          "setup.exe", std::string(3000, 's'), carried != Carried::Unsigned));
        std::string bytes = ReadBytes(path);
        if (carried == Carried::BadSignature)
            bytes[GetLe32(bytes, kSecurityEntry) + 6] = 1; // no longer PKCS#7
        return bytes;
    }
    SelfKitStatus StartCarrying(const std::string& carried) {
        if (!MakeSelfCreator(work, work / "VelkSMNG.exe", ProductInfoBytes(kTestUuid, "RegNow;77;"),
                             carried, "T.exe"))
            return SelfKitStatus::BuildFailed;
        kit = std::make_unique<CSelfKit>(work / "VelkSMNG.exe", temp.Path());
        return kit->Start();
    }
    SelfKitStatus BuildFor(const std::string& affiliateId, const std::string& output) {
        return kit->Build({"RegNow", affiliateId, "https://aff.example/", output}, nullptr);
    }

    ScratchFolder work;
    ScratchFolder temp;
    ScratchFolder out;
    std::unique_ptr<CSelfKit> kit;
};

TEST_F(StampedSelfKitTest, StampsTheAffiliatesCopyOfTheSignedTemplate) {
    const std::string signedTemplate = Make(Carried::SignedTemplate);
    ASSERT_EQ(StartCarrying(signedTemplate), SelfKitStatus::Ok);
    ASSERT_TRUE(kit->StampsSignedTemplate());
    const std::string output = out / "sub/setup.exe";
    ASSERT_EQ(BuildFor("A1", output), SelfKitStatus::Ok);

    // Every byte before the certificate table is the template's but the
    // security directory's size; the signer's digest still holds.
    const std::string copy = ReadBytes(output);
    const size_t table = GetLe32(signedTemplate, kSecurityEntry);
    ASSERT_GT(copy.size(), table);
    std::string before = copy.substr(0, table);
    std::string expected = signedTemplate.substr(0, table);
    before.replace(kSecurityEntry + 4, 4, 4, '\0');
    expected.replace(kSecurityEntry + 4, 4, 4, '\0');
    EXPECT_EQ(before, expected);
    EXPECT_EQ(CheckAuthenticodeDigest(output).state, DigestCheck::State::Matches);

    // The launcher takes the affiliate's information from the stamp.
    CSfxPackage package;
    CAffiliateInfo info;
    ASSERT_EQ(ReadLaunchPackage(output, package, info), SFX_OK);
    EXPECT_EQ(info.m_strKey, kTestUuid);
    EXPECT_EQ(info.m_strLink, kit->ComposeLink("RegNow", "A1"));
    EXPECT_EQ(info.m_strWebSite, "https://aff.example/");

    // Building again over the copy replaces its stamp; the length stays.
    ASSERT_EQ(BuildFor("B2", output), SelfKitStatus::Ok);
    EXPECT_EQ(ReadBytes(output).size(), copy.size());
    EXPECT_EQ(ReadSetupStampOfFile(output).info.m_strLink, kit->ComposeLink("RegNow", "B2"));
}

// What the self creator carries decides its road; a custom setup of the
// product that cannot be stamped is never wrapped into another one.
struct CarriedCase {
    const char* name;
    Carried carried;
    SelfKitStatus start;
    SetupStamp::State written; // the stamp state of what a build writes
};

class CarriedSetupTest : public StampedSelfKitTest,
                         public ::testing::WithParamInterface<CarriedCase> {};

TEST_P(CarriedSetupTest, DecidesTheRoad) {
    const std::string carried = Make(GetParam().carried);
    ASSERT_EQ(StartCarrying(carried), GetParam().start);
    if (GetParam().start != SelfKitStatus::Ok)
        return;
    EXPECT_EQ(kit->StampsSignedTemplate(), GetParam().written == SetupStamp::State::Stamped);
    // Wrapped as a plain setup, a Windows program needs a Windows launcher,
    // which only a Windows build carries.
    WriteBytes(work / "carried.exe", carried);
    const bool wrappable = GetParam().written == SetupStamp::State::Stamped ||
                           PrepareLauncherImage(work / "carried.exe").bytes != nullptr;
    ASSERT_EQ(BuildFor("A1", out / "o.exe"),
              wrappable ? SelfKitStatus::Ok : SelfKitStatus::BuildFailed);
    if (!wrappable)
        return;
    EXPECT_EQ(ReadSetupStampOfFile(out / "o.exe").state, GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Carried, CarriedSetupTest,
    ::testing::Values(CarriedCase{"plain_setup", Carried::PlainSetup, SelfKitStatus::Ok,
                                  SetupStamp::State::NotSigned},
                      CarriedCase{"signed_template", Carried::SignedTemplate, SelfKitStatus::Ok,
                                  SetupStamp::State::Stamped},
                      CarriedCase{"another_products_template", Carried::OtherProduct,
                                  SelfKitStatus::Ok, SetupStamp::State::NotSigned},
                      CarriedCase{"unsigned_template", Carried::Unsigned, SelfKitStatus::Corrupted,
                                  SetupStamp::State::NotSigned},
                      CarriedCase{"template_with_a_malformed_signature", Carried::BadSignature,
                                  SelfKitStatus::Corrupted, SetupStamp::State::NotSigned}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
