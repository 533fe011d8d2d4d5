// A name in any language typed in the affiliate dialog, edited in place in the
// list, saved, reopened and built comes out byte-identical everywhere: the
// record, the list, the file, the package's information file.
#include "MainWindowFixture.h"

#include "model/Reseller.h"
#include "package/AffiliateBuilder.h"
#include "package/PackageAffiliateInfo.h"
#include "package/SfxPackage.h"
#include "platform/FileRead.h"
#include "ui/CellEdit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Types text as a keyboard with an input method would: one key event per
// character (a surrogate pair is one character), carrying its text.
void TypeText(QWidget* widget, const QString& text) {
    widget->setFocus();
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString one(text[i]);
        if (text[i].isHighSurrogate() && i + 1 < text.size())
            one += text[++i];
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, one);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, one);
        QApplication::sendEvent(widget, &release);
    }
}

QLineEdit* Edit(QWidget* dialog, const char* id) {
    return dialog->findChild<QLineEdit*>(QString::fromLatin1(id));
}

const std::string kTyped = "Zo\xC3\xAB \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xCE\xA9";
const std::string kEdited = kTyped + " \xF0\x9F\x98\x80";
const std::string kId = "x y&\xC3\xA9";
const std::string kEncodedId = "x%20y%26%C3%A9";

} // namespace

TEST_F(MainWindowTest, ANameInAnyLanguageTravelsUnchangedFromTheDialogToThePackage) {
    const std::string project = WriteProject("names.vkp", 0);
    {
        QFile setup(QString::fromStdString(Path("setup.bin")));
        ASSERT_TRUE(setup.open(QIODevice::WriteOnly));
        setup.write("#!SETUP");
    }
    Start({QString::fromStdString(project)});
    Frame().show();

    // Typed in the affiliate dialog.
    bool typed = false;
    OnNextModal([&](QWidget* dialog) {
        QLineEdit* name = Edit(dialog, "1011");
        QLineEdit* id = Edit(dialog, "1013");
        auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("1"));
        if (!name || !id || !ok) {
            static_cast<QDialog*>(dialog)->reject();
            return;
        }
        TypeText(name, QString::fromStdString(kTyped));
        TypeText(id, QString::fromStdString(kId));
        typed = name->text() == QString::fromStdString(kTyped);
        QTest::mouseClick(ok, Qt::LeftButton);
        if (dialog->isVisible())
            static_cast<QDialog*>(dialog)->reject();
    });
    Cmd(ID_ADD_AFFILIATE).trigger();
    ASSERT_TRUE(WaitUntil([&] { return View().model()->rowCount() == 1; }));
    EXPECT_TRUE(typed);
    const CReseller* record = View().AffiliateOfRow(0);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->m_strName, kTyped);
    EXPECT_EQ(record->m_strAffiliateId, kId);
    EXPECT_NE(record->m_strPurchaseLink.find("affiliate=" + kEncodedId + "&item=P1"),
              std::string::npos)
        << record->m_strPurchaseLink;
    EXPECT_EQ(CellText(0, 0), QString::fromStdString(kTyped));

    // Edited in place: an emoji appended to the name.
    ASSERT_TRUE(View().EditCell(0, 0));
    CCellEdit* editor = CCellEdit::Current();
    ASSERT_NE(editor, nullptr);
    editor->end(false);
    TypeText(editor, QString::fromStdString(" \xF0\x9F\x98\x80"));
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(WaitUntil([&] { return CellText(0, 0) == QString::fromStdString(kEdited); }));
    record = View().AffiliateOfRow(0);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->m_strName, kEdited);

    // Saved and reopened.
    ASSERT_TRUE(Doc().OnFileSave());
    std::string bytes;
    ASSERT_TRUE(platform::ReadFileBytes(project, bytes).Ok());
    EXPECT_NE(bytes.find(kEdited), std::string::npos) << "the file holds the name as UTF-8";
    ASSERT_TRUE(Doc().OpenDocument(QString::fromStdString(project)));
    ASSERT_EQ(View().model()->rowCount(), 1);
    EXPECT_EQ(CellText(0, 0), QString::fromStdString(kEdited));
    record = View().AffiliateOfRow(0);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->m_strName, kEdited);
    const std::string link = record->m_strPurchaseLink;
    const std::string setupPath = Doc().Project().ResolveProjectPath(record->m_strSetupPath);
    // The setup path was derived from the name the dialog took; editing the
    // name in place leaves it.
    EXPECT_NE(setupPath.find("setup_" + kTyped + ".bin"), std::string::npos) << setupPath;

    // Built: the package carries the link, and its file name the name.
    Doc().adjustBuildEnvironment = [&](BuildEnvironment& env) { env.tempFolder = Path(""); };
    int finished = -1;
    QObject::connect(&Doc(), &CVelkoraDoc::buildFinished, [&](int errors) { finished = errors; });
    Cmd(ID_BUILD_ALL).trigger();
    ASSERT_TRUE(WaitUntil([&] { return finished >= 0; }, 60000));
    EXPECT_EQ(finished, 0);
    CSfxPackage package;
    ASSERT_EQ(package.ReadDirectory(setupPath), SFX_OK) << setupPath;
    const std::optional<CAffiliateInfo> info = AffiliateInfoOfPackage(package);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->m_strLink, link);
    // The build log shows the file's name as it is.
    const QStringList lines = Frame().Log()->Lines();
    EXPECT_TRUE(lines.filter(QString::fromStdString("setup_" + kTyped + ".bin")).size() >= 1)
        << lines.join('\n').toStdString();
}
