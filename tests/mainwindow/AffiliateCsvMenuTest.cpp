#include "MainWindowFixture.h"

#include <QFile>

namespace {

void WriteCsv(const std::string& path, const QByteArray& bytes) {
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

const QByteArray kTwoGoodOneBad = "Affiliate Name,Affiliate ID,Service\r\n"
                                  "Ann,a1,\r\n"
                                  "Bob,b2,PayMore\r\n"
                                  "Cid,c3,regnow\r\n";

} // namespace

TEST_F(MainWindowTest, ImportWithRefusedRowsAsksAndNoAddsNothing) {
    Start({QString::fromStdString(WriteProject("p.vkp", 1))});
    WriteCsv(Path("a.csv"), kTwoGoodOneBad);
    m_prompts.Pick({QString::fromStdString(Path("a.csv"))});
    m_prompts.Answer({false});
    Cmd(ID_IMPORT_AFFILIATES).trigger();
    ASSERT_EQ(m_prompts.Questions().size(), 1);
    EXPECT_TRUE(m_prompts.Questions()[0].contains("Line 3: Unknown registration service 'PayMore'"))
        << m_prompts.Questions()[0].toStdString();
    EXPECT_TRUE(m_prompts.Questions()[0].contains("Add the 2 good row(s)?"));
    EXPECT_EQ(Doc().Project().m_mapResellers.GetCount(), 1u);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(View().model()->rowCount(), 1);
}

TEST_F(MainWindowTest, ImportWithRefusedRowsAnsweredYesAddsTheGoodRows) {
    Start({QString::fromStdString(WriteProject("p.vkp", 1))});
    WriteCsv(Path("a.csv"), kTwoGoodOneBad);
    m_prompts.Pick({QString::fromStdString(Path("a.csv"))});
    m_prompts.Answer({true});
    Cmd(ID_IMPORT_AFFILIATES).trigger();
    EXPECT_EQ(Doc().Project().m_mapResellers.GetCount(), 3u);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(View().model()->rowCount(), 3);
    EXPECT_GE(RowOfName("Ann"), 0);
    EXPECT_GE(RowOfName("Cid"), 0);
    EXPECT_EQ(RowOfName("Bob"), -1);
}

TEST_F(MainWindowTest, ACleanImportOnlyReportsAndABrokenFileChangesNothing) {
    Start({QString::fromStdString(WriteProject("p.vkp", 0))});
    WriteCsv(Path("ok.csv"), "\xEF\xBB\xBFName,Affiliate ID,Notes\nAnn,a1,x\n");
    WriteCsv(Path("bad.csv"), "Name,Affiliate ID\n\"Ann,a1\n");
    m_prompts.Pick(
        {QString::fromStdString(Path("bad.csv")), QString::fromStdString(Path("ok.csv"))});
    Cmd(ID_IMPORT_AFFILIATES).trigger();
    ASSERT_EQ(m_prompts.Messages().size(), 1);
    EXPECT_EQ(m_prompts.Messages()[0], "bad.csv, line 2: a quoted field is not closed.");
    EXPECT_EQ(Doc().Project().m_mapResellers.GetCount(), 0u);

    Cmd(ID_IMPORT_AFFILIATES).trigger();
    EXPECT_TRUE(m_prompts.Questions().isEmpty());
    ASSERT_EQ(m_prompts.Messages().size(), 2);
    EXPECT_TRUE(m_prompts.Messages()[1].contains("Ignored column 'Notes'."));
    EXPECT_EQ(View().model()->rowCount(), 1);
}

TEST_F(MainWindowTest, ExportWritesTheListAsSpreadsheetsOpenIt) {
    Start({QString::fromStdString(WriteProject("p.vkp", 2))});
    m_prompts.Pick({QString::fromStdString(Path("out.csv"))});
    Cmd(ID_EXPORT_AFFILIATES).trigger();
    EXPECT_TRUE(m_prompts.Messages().isEmpty());
    ASSERT_EQ(m_prompts.ProposedFiles().size(), 1);
    EXPECT_TRUE(m_prompts.ProposedFiles()[0].endsWith("p affiliates.csv"))
        << m_prompts.ProposedFiles()[0].toStdString();
    QFile f(QString::fromStdString(Path("out.csv")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"
                                 "Affiliate Name,Affiliate ID,Website,Contact Email,Purchase "
                                 "Link,Service,Setup Path\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nName1,id1,https://site1.example,a1@example.com,http://,"
                               "RegNow,out/setup_1.bin\r\n"))
        << bytes.toStdString();
}
