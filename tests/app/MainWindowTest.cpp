// The busy protocol, the agent, the guards, new nodes and the version report.

#include <QImage>
#include <set>
#include "app/AppTestSupport.h"

#include "app/commands/CommandTable.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "object/Report.h"

namespace zel {
namespace {

class MainWindowTest : public AppTest {};

TEST_F(MainWindowTest, BusyProtocolMessagesAndBreak) {
    makeWindow();
    window->startDoing_("Long Job");
    EXPECT_EQ(window->statusMessage(), "*Doing* Long Job");
    EXPECT_TRUE(window->nowDoing());
    EXPECT_EQ(window->statusMessage().rfind("Now Doing ", 0), 0u);
    EXPECT_EQ(window->UINewNode(), -1) << "commands refuse while another runs";

    window->doneDoing_("  ");
    EXPECT_EQ(window->statusMessage(), "Done: Long Job");
    window->startDoing_("Long Job");
    window->doneDoing_(" Failure: x ");
    EXPECT_EQ(window->statusMessage(), "Failure: x");

    window->startDoing_("Long Job");
    EXPECT_FALSE(window->agent->isBreak_());
    window->Break();
    EXPECT_TRUE(window->agent->isBreak_());
    EXPECT_FALSE(window->isDoing());
    window->Done();
    EXPECT_EQ(window->statusMessage(), "Break: Long Job");
    EXPECT_FALSE(window->agent->isBreak_());
}

TEST_F(MainWindowTest, AgentShowsProgressAndAnswersTheInternetOption) {
    makeWindow();
    window->agent->message_("progress 20");
    EXPECT_EQ(window->statusMessage(), "progress 20");
    EXPECT_EQ(window->agent->query_("getUIInternet"), "true");
    window->CheckBox_UIInternet->setChecked(false);
    EXPECT_EQ(window->agent->query_("getUIInternet"), "false");
}

TEST_F(MainWindowTest, ModelReportsAndLogLinesReachTheWindow) {
    makeWindow();
    prompter->answer(Answer::Ok, "Should not execute. x");
    reportShouldNotExecute("x");
    logLine("from the model");
    EXPECT_TRUE(logContains("from the model"));
}

TEST_F(MainWindowTest, ReadOnlyGuardsStopNewNodes) {
    makeWindow();
    MemoHolder* holder = window->getCurHolder();
    window->CheckBox_UIReadOnly->setChecked(true);
    EXPECT_EQ(window->UINewNode(), -1);
    EXPECT_EQ(window->statusMessage(), "UI ReadOnly");
    window->CheckBox_UIReadOnly->setChecked(false);
    holder->setReadOnly_(true);
    EXPECT_EQ(window->newNodeOfKind_("", KindFile), nullptr);
    EXPECT_EQ(window->statusMessage(),
              "This MemoHolder is Read Only. (" + holder->getName_() + ")");
    EXPECT_EQ(holder->count_(), 1);
}

TEST_F(MainWindowTest, NewNodesOfEachKind) {
    makeWindow();
    MemoHolder* holder = window->getCurHolder();
    holder->changed = false;
    EXPECT_EQ(window->UINewNode(), 0);
    EXPECT_EQ(window->statusMessage(), "Done: New MemoNode");
    EXPECT_TRUE(holder->changed);

    MemoNode* web = window->newNodeOfKind_(" http://example.test/ ", KindURL);
    EXPECT_EQ(web->getName_(), "http://example.test/");
    EXPECT_EQ(web->getField_("Filename"), "\"http://example.test/\"");
    EXPECT_EQ(window->getCurMemoNode(), web);

    MemoNode* poser = window->newNodeOfKind_("", KindPoserLike);
    EXPECT_EQ(poser->getField_("Content-Transfer-Encoding"), "\"PoserLike\"");

    MemoNode* image = window->newNodeOfKind_("shot", KindImage);
    EXPECT_EQ(image->getName_(), "shot.bmp");
    EXPECT_EQ(image->getField_("Filename"), "\"./shot.bmp\"");
    EXPECT_EQ(image->getField_("Content-Type"), "\"image/bmp\"");
}

TEST_F(MainWindowTest, DatedImageNodeTakesTheNodeCount) {
    makeWindow();
    MemoHolder* holder = window->getCurHolder();
    holder->putField_("FormatDate", "\"YYYYMMDD\"");
    holder->first_()->putName_as_("first");
    window->newNodeOfKind_("", KindFile);
    window->getCurMemoNode()->putName_as_("second");
    window->newNodeOfKind_("", KindFile);
    window->getCurMemoNode()->putName_as_("third");
    MemoNode* image = window->newNodeOfKind_("", KindImage);
    std::string today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toStdString();
    EXPECT_EQ(image->getName_(), today + "_03.bmp");
}

TEST_F(MainWindowTest, NewNodeCarriesTheUserInItsCreaterField) {
    makeWindow();
    window->userName = "hanako";
    MemoHolder* holder = window->getCurHolder();
    MemoNode* model = holder->makeNode_();
    holder->putNameChild_as_(model, "*");
    model->putField_("Creater", "\"\"");
    MemoNode* node = window->newNodeOfKind_("", KindFile);
    EXPECT_EQ(node->getField_("Creater"), "\"hanako\"");
}

TEST_F(MainWindowTest, VersionReport) {
    makeWindow();
    window->userName = "hanako";
    window->getCurMemoNode()->memo = {"ab", "c"};
    std::vector<std::string> lines;
    window->writeVersionTS_(lines);
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[0], path("bin/zel"));
    EXPECT_EQ(lines[1], "Version 00.15.08");
    EXPECT_EQ(lines[2], "Prototype Mar 01, 2006");
    EXPECT_EQ(lines[3], "UserName=hanako");
    EXPECT_EQ(lines.end()[-4], "The count of MemoNodes is 1");
    EXPECT_EQ(lines.end()[-2], "Length(aMemo.Text)  = 7");
    EXPECT_EQ(lines.back(), "aMemo.count = 2");

    prompter->answer(Answer::Ok, "Version 00.15.08");
    window->UIShowVersion();
    EXPECT_EQ(window->statusMessage(), path("bin/zel") + " Ver 00.15.08 Mar 01, 2006");
}

TEST_F(MainWindowTest, EveryCommandIsListedOnceAndTheToolBarRunsThem) {
    makeWindow();
    std::set<std::string_view> names;
    for (const CommandEntry& entry : commandTable()) {
        EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
    }
    window->startDoing_("Stuck");
    window->toolButton("Done")->click();
    EXPECT_EQ(window->statusMessage(), "Done: Stuck");
    window->toolButton("Break")->click();
    EXPECT_TRUE(window->isBreakFlagSet());
}

TEST_F(MainWindowTest, CaptionNamesTheProgramAndTheMemoFile) {
    makeWindow();
    window->aFile->setFilename(path("diary.mxa"));
    window->setCaption_();
    EXPECT_EQ(window->windowTitle().toStdString(), "zel " + path("diary.mxa"));
    EXPECT_EQ(window->applicationTitle(), "diary.mxa");

    window->aFile->putField_("Color", "\"clRed\"");
    window->setCaption_();
    QImage panel = window->Panel_Tool->grab().toImage();
    EXPECT_EQ(QColor(panel.pixel(panel.width() - 2, 2)), QColor(Qt::red))
        << "the tool panel shows the memo file's colour";
}

TEST_F(MainWindowTest, TheMemoFileColourFallsBackToTheToolBar) {
    makeWindow();
    window->aFile->putField_("Color", "\"$0000FF\"");
    window->setCaption_();
    window->aFile->removeField_("Color");
    EXPECT_EQ(window->aFile->getColor_(), 0x0000FFu) << "the tool bar kept the last colour";
    window->aFile->putField_("Color", "\"$00FF00\"");
    EXPECT_EQ(window->aFile->getColor_(), 0x00FF00u);
}

}  // namespace
}  // namespace zel
