#include "ui/AffiliateDialog.h"

#include "model/AffProject.h"
#include "ui/ProductIdDialog.h"

#include "UiTestHelpers.h"
#include "tests/support/FakePrompts.h"

#include <QComboBox>
#include <QDir>
#include <QSignalSpy>

#include <ctime>

namespace {

// Stands in for the affiliate list: the owner that receives notifications.
class Owner : public QWidget {
public:
    QList<std::pair<uint32_t, CReseller*>> changed;

protected:
    bool event(QEvent* e) override {
        if (e->type() == CAffiliateChangedEvent::kType) {
            auto* ev = static_cast<CAffiliateChangedEvent*>(e);
            changed.append({ev->Id(), ev->Affiliate()});
            return true;
        }
        return QWidget::event(e);
    }
};

struct AffiliateFixture : ::testing::Test {
    QTemporaryDir dir;
    CAffProject project;
    FakePrompts prompts;
    Owner owner;
    CAffiliateDialog* dialog = nullptr;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        project.SetProjectPath((dir.path() + QStringLiteral("/proj.vkp")).toStdString());
        project.m_strSetupFile = "setup.exe";
        project.m_strOutputDir = "out";
        auto regNow = std::make_unique<CProductRegInfo>();
        regNow->m_wService = kServiceRegNow;
        regNow->m_strServiceName = "RegNow";
        regNow->m_strProductId = "P";
        project.m_mapRegInfo.SetAt(kServiceRegNow, std::move(regNow));
        dialog = new CAffiliateDialog(&owner, &prompts);
        dialog->SetProject(&project);
    }
    void TearDown() override { delete dialog; }

    CReseller* AddAffiliate(const std::string& name, const std::string& path) {
        CReseller r;
        r.m_strName = name;
        r.m_strAffiliateId = name + "-id";
        r.m_strPurchaseLink = "http://l/" + name;
        r.m_strSetupPath = path;
        uint16_t key = 0;
        project.AddReseller(r, &key);
        return project.LookupReseller(key);
    }
    QComboBox* Services() { return Control<QComboBox>(dialog, "1010"); }
    void SelectService(int index) { Choose(Services(), index); }
    QString Sep() const { return QString(QDir::separator()); }
};

} // namespace

TEST_F(AffiliateFixture, NewAffiliateStartsWithDefaultsAndComposesTheLinkFromTheId) {
    dialog->show();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Affiliate Property"));
    EXPECT_EQ(Services()->count(), 4);
    EXPECT_EQ(Services()->currentText(), QStringLiteral("RegNow"));
    EXPECT_EQ(Text(dialog, "1014"), QStringLiteral("http://"));
    EXPECT_EQ(Text(dialog, "1016"), QStringLiteral("http://"));
    EXPECT_FALSE(Control<QPushButton>(dialog, "1")->isEnabled());

    Type(dialog, "1013", QStringLiteral("A"));
    EXPECT_EQ(Text(dialog, "1014"),
              Endpoint(kServiceRegNow) + QStringLiteral("?affiliate=A&item=P"));
    EXPECT_TRUE(Control<QPushButton>(dialog, "1")->isEnabled());
}

TEST_F(AffiliateFixture, DefaultServiceOfTheProjectIsPreselected) {
    project.m_wDefaultService = kServiceRegSoft;
    dialog->SetProject(&project);
    EXPECT_EQ(Services()->currentIndex(), kServiceRegSoft);
}

TEST_F(AffiliateFixture, ChoosingOtherLeavesTheTypedLink) {
    dialog->show();
    Retype(dialog, "1014", QStringLiteral("http://my.shop/buy?x=1"));
    SelectService(kServiceOther);
    EXPECT_EQ(Text(dialog, "1014"), QStringLiteral("http://my.shop/buy?x=1"));
    Type(dialog, "1013", QStringLiteral("Z"));
    EXPECT_EQ(Text(dialog, "1014"), QStringLiteral("http://my.shop/buy?x=1"));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(AffiliateFixture, OkChecksShowOnlyTheLastFailingMessage) {
    dialog->show();
    Type(dialog, "1017", QStringLiteral("a@b"));
    Click(dialog, "1"); // name and ID empty, link "http://"
    EXPECT_EQ(prompts.Messages(),
              QStringList{QStringLiteral("Please input a name for this affiliate.")});
    EXPECT_TRUE(dialog->isVisible());

    Type(dialog, "1011", QStringLiteral("Bob"));
    Click(dialog, "1");
    EXPECT_EQ(prompts.Messages().last(),
              QStringLiteral("Please provide an ID for this affiliate!"));

    Retype(dialog, "1014", QString());
    Click(dialog, "1");
    EXPECT_EQ(prompts.Messages().last(), QStringLiteral("Please fill out purchase link."));
    EXPECT_EQ(prompts.Messages().size(), 3);
    EXPECT_NE(dialog->result(), QDialog::Accepted);
}

TEST_F(AffiliateFixture, NameDerivesTheSetupPath) {
    dialog->show();
    Type(dialog, "1011", QStringLiteral("Bob"));
    EXPECT_EQ(Text(dialog, "1035"),
              QStringLiteral("out") + Sep() + QStringLiteral("setup_Bob.exe"));

    // A typed folder is kept; only the file name follows the name.
    Retype(dialog, "1035", QStringLiteral("dist/any.exe"));
    Retype(dialog, "1011", QStringLiteral("Ann"));
    EXPECT_EQ(Text(dialog, "1035"), QStringLiteral("dist/setup_Ann.exe"));

    // Clearing the path and typing the name again starts from the output folder.
    Retype(dialog, "1035", QString());
    Type(dialog, "1011", QStringLiteral("e"));
    EXPECT_EQ(Text(dialog, "1035"),
              QStringLiteral("out") + Sep() + QStringLiteral("setup_Anne.exe"));
}

TEST_F(AffiliateFixture, PathOfAnotherAffiliateIsRefusedWithoutRegardToCase) {
    AddAffiliate("first", "out/Setup_First.exe");
    dialog->show();
    Type(dialog, "1011", QStringLiteral("first"));
    Type(dialog, "1013", QStringLiteral("F"));
    Retype(dialog, "1035", QStringLiteral("OUT/setup_first.EXE"));
    Click(dialog, "1");
    EXPECT_EQ(prompts.Messages(),
              QStringList{QStringLiteral("File 'OUT/setup_first.EXE' is used for another "
                                         "affiliate, please select other name.")});
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(AffiliateFixture, FullPathOfAnotherAffiliatesRelativePathIsRefused) {
    AddAffiliate("first", "out/first.exe");
    dialog->show();
    Type(dialog, "1011", QStringLiteral("second"));
    Type(dialog, "1013", QStringLiteral("S"));
    const QString full = dir.path() + QStringLiteral("/out/First.exe");
    Retype(dialog, "1035", full);
    Click(dialog, "1");
    EXPECT_EQ(prompts.Messages(),
              QStringList{QStringLiteral("File '%1' is used for another affiliate, please select "
                                         "other name.")
                              .arg(full)});
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(AffiliateFixture, ProductSetupFileIsRefusedAsAffiliatePath) {
    dialog->show();
    Type(dialog, "1011", QStringLiteral("n"));
    Type(dialog, "1013", QStringLiteral("i"));
    Retype(dialog, "1035", QStringLiteral("./setup.exe"));
    Click(dialog, "1");
    EXPECT_EQ(prompts.Messages(),
              QStringList{QStringLiteral("File './setup.exe' is the product setup file, please "
                                         "choose another one for affiliate.")});
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(AffiliateFixture, NewAffiliateAcceptedHandsItsFieldsToTheCaller) {
    dialog->show();
    Type(dialog, "1011", QStringLiteral("Bob"));
    Type(dialog, "1013", QStringLiteral("B7"));
    Retype(dialog, "1016", QStringLiteral("http://bob.example"));
    Type(dialog, "1017", QStringLiteral("bob@example.com"));
    Click(dialog, "1");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    CReseller r;
    dialog->StoreInto(r);
    EXPECT_EQ(r.m_strName, "Bob");
    EXPECT_EQ(r.m_strAffiliateId, "B7");
    EXPECT_EQ(r.m_nService, kServiceRegNow);
    EXPECT_EQ(r.m_strWebSite, "http://bob.example");
    EXPECT_EQ(r.m_strEmail, "bob@example.com");
    EXPECT_EQ(QString::fromStdString(r.m_strSetupPath),
              QStringLiteral("out") + Sep() + QStringLiteral("setup_Bob.exe"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(owner.changed.isEmpty()); // a new affiliate is the caller's to add
}

TEST_F(AffiliateFixture, EditingUnderItsOwnPathIsAcceptedAndNotifiesTheOwnerQueued) {
    AddAffiliate("other", "out/o.exe");
    CReseller* bob = AddAffiliate("bob", "out/SETUP_bob.exe");
    bob->m_bChanged = 0;
    bob->m_tModified = 5;
    dialog->ShowForEdit(bob);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(Control<QPushButton>(dialog, "1")->isEnabled());
    EXPECT_EQ(Text(dialog, "1035"), QStringLiteral("out/SETUP_bob.exe")); // loading derives nothing
    EXPECT_EQ(Text(dialog, "1013"), QStringLiteral("bob-id"));

    Retype(dialog, "1017", QStringLiteral("new@mail"));
    EXPECT_TRUE(Control<QPushButton>(dialog, "1")->isEnabled());
    const std::time_t before = std::time(nullptr);
    Click(dialog, "1");
    EXPECT_TRUE(prompts.Messages().isEmpty());
    EXPECT_FALSE(dialog->isVisible()); // hidden, kept for later use
    EXPECT_EQ(bob->m_strEmail, "new@mail");
    EXPECT_EQ(bob->m_strSetupPath, "out/SETUP_bob.exe");
    EXPECT_EQ(bob->m_bChanged, 1);
    EXPECT_GE(bob->m_tModified, before);
    EXPECT_TRUE(owner.changed.isEmpty()); // posted, not sent
    QCoreApplication::processEvents();
    ASSERT_EQ(owner.changed.size(), 1);
    EXPECT_EQ(owner.changed[0].first, bob->m_nId);
    EXPECT_EQ(owner.changed[0].second, bob);

    // Reloading keeps visibility and the OK state.
    CReseller* other = project.LookupReseller(0);
    dialog->Reload(other);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Text(dialog, "1011"), QStringLiteral("other"));
}

TEST_F(AffiliateFixture, CancelInEditLeavesTheAffiliate) {
    CReseller* bob = AddAffiliate("bob", "b.exe");
    dialog->ShowForEdit(bob);
    Retype(dialog, "1011", QStringLiteral("robert"));
    Click(dialog, "2");
    EXPECT_EQ(bob->m_strName, "bob");
    EXPECT_EQ(bob->m_strSetupPath, "b.exe");
    QCoreApplication::processEvents();
    EXPECT_TRUE(owner.changed.isEmpty());
}

TEST_F(AffiliateFixture, BrowseRefusesTheProductSetupAndPathsInUse) {
    AddAffiliate("other", "out/Taken.exe");
    dialog->show();
    Type(dialog, "1011", QStringLiteral("x"));
    const QString before = Text(dialog, "1035");

    prompts.paths.enqueue(dir.path() + QStringLiteral("/setup.exe"));
    Click(dialog, "1036");
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[0].kind, QStringLiteral("save"));
    EXPECT_EQ(prompts.shown[0].text, dir.path() + QStringLiteral("/") + before);
    EXPECT_EQ(prompts.shown[0].file.defaultSuffix, QStringLiteral("exe"));
    ASSERT_EQ(prompts.shown[0].file.filters.size(), 1);
    EXPECT_EQ(prompts.shown[0].file.filters[0].description,
              QStringLiteral("Executable File(*.exe)"));
    EXPECT_EQ(prompts.shown[1].text,
              QStringLiteral("'%1/setup.exe' is the product setup file, it can not be used by "
                             "affiliate. Please choose another one.")
                  .arg(dir.path()));
    EXPECT_EQ(Text(dialog, "1035"), before);

    prompts.paths.enqueue(dir.path() + QStringLiteral("/out/taken.exe"));
    Click(dialog, "1036");
    EXPECT_EQ(prompts.Messages().last(),
              QStringLiteral("File 'out/taken.exe' is being used, please choose another one."));
    EXPECT_EQ(Text(dialog, "1035"), before);

    prompts.paths.enqueue(dir.path() + QStringLiteral("/out/mine.exe"));
    Click(dialog, "1036");
    EXPECT_EQ(Text(dialog, "1035"), QStringLiteral("out/mine.exe"));
    EXPECT_EQ(prompts.Messages().size(), 2);

    prompts.paths.enqueue(QStringLiteral("/elsewhere/full.exe"));
    Click(dialog, "1036");
    EXPECT_EQ(Text(dialog, "1035"), QStringLiteral("/elsewhere/full.exe"));
}

TEST_F(AffiliateFixture, MissingProductIdIsOfferedAndAddedThroughTheProductIdDialog) {
    dialog->show();
    Type(dialog, "1013", QStringLiteral("A"));
    prompts.answers.enqueue(true);
    QStringList offered;
    int preselected = -2;
    WhenModal<CProductIdDialog>([&](CProductIdDialog* d) {
        auto* combo = d->findChild<QComboBox*>(QStringLiteral("1032"));
        for (int i = 0; i < combo->count(); ++i)
            offered << combo->itemText(i);
        preselected = combo->currentIndex();
        Type(d, "1041", QStringLiteral("S1"));
        Click(d, "1");
    });
    QSignalSpy added(dialog, &CAffiliateDialog::registrationInfoAdded);
    SelectService(kServiceShareIt);
    ASSERT_EQ(added.count(), 1);
    EXPECT_EQ(added[0][0].value<uint16_t>(), uint16_t(kServiceShareIt));
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_EQ(prompts.shown[0].kind, QStringLiteral("question"));
    EXPECT_EQ(
        prompts.shown[0].text,
        QStringLiteral("Product ID for 'ShareIt' does not exist. Add an ID for this service?"));
    // Every service without a record, Other included.
    EXPECT_EQ(offered, (QStringList{QStringLiteral("ShareIt"), QStringLiteral("RegSoft"),
                                    QStringLiteral("Other")}));
    EXPECT_EQ(preselected, 0);
    CProductRegInfo* info = project.LookupRegInfo(kServiceShareIt);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->m_strProductId, "S1");
    EXPECT_EQ(info->m_strServiceName, "ShareIt");
    EXPECT_EQ(info->m_strPurchaseLink,
              (Endpoint(kServiceShareIt) + QStringLiteral("?productid=S1")).toStdString());
    EXPECT_EQ(Text(dialog, "1014"),
              Endpoint(kServiceShareIt) + QStringLiteral("?productid=S1&resellerid=A"));
}

TEST_F(AffiliateFixture, DecliningTheProductIdOfferLeavesLinkAndProject) {
    dialog->show();
    Type(dialog, "1013", QStringLiteral("A"));
    const QString link = Text(dialog, "1014");
    prompts.answers.enqueue(false);
    QSignalSpy added(dialog, &CAffiliateDialog::registrationInfoAdded);
    SelectService(kServiceRegSoft);
    EXPECT_EQ(Text(dialog, "1014"), link);
    EXPECT_EQ(project.LookupRegInfo(kServiceRegSoft), nullptr);

    // Cancel in the product ID dialog does the same.
    prompts.answers.enqueue(true);
    WhenModal<CProductIdDialog>([](CProductIdDialog* d) { Click(d, "2"); });
    SelectService(kServiceShareIt);
    EXPECT_EQ(Text(dialog, "1014"), link);
    EXPECT_EQ(project.m_mapRegInfo.GetCount(), 1u);
    EXPECT_EQ(added.count(), 0);

    // Back to RegNow, which has a record: the link is rebuilt from the endpoint.
    Retype(dialog, "1014", QStringLiteral("http://typed/?k=v"));
    SelectService(kServiceRegNow);
    EXPECT_EQ(Text(dialog, "1014"),
              Endpoint(kServiceRegNow) + QStringLiteral("?affiliate=A&item=P"));
}

// The composed link is read from its start (the service's address) and fits
// the field whole.
TEST_F(AffiliateFixture, ComposedLinkIsShownWholeFromItsStart) {
    dialog->show();
    Type(dialog, "1011", QStringLiteral("Bob"));
    Type(dialog, "1013", QStringLiteral("al-0123456789"));
    auto* link = Control<QLineEdit>(dialog, "1014");
    EXPECT_EQ(link->text(),
              Endpoint(kServiceRegNow) + QStringLiteral("?affiliate=al-0123456789&item=P"));
    EXPECT_EQ(link->cursorPosition(), 0);
    EXPECT_GE(link->contentsRect().width() - 8,
              link->fontMetrics().horizontalAdvance(link->text()));
}
