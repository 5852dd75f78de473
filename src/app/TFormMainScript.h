#pragma once
// The command layer: every command of the window is a member under its
// described name (CommandTable.h lists them), plus the exchange between the
// node editor and the current node, and the window caption.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/TFormMainBaseZEL.h"

class QPrinter;

namespace zel {

class TFormMainScript : public TFormMainBaseZEL {
    Q_OBJECT
  public:
    explicit TFormMainScript(QWidget* parent = nullptr);
    ~TFormMainScript() override;

    int UI2Model() override;
    void Model2UI() override;
    void setCaption_() override;
    // The title the desktop shows for the application (task bar, icons).
    const std::string& applicationTitle() const { return applicationTitle_; }
    void setApplicationTitle(std::string_view title);

    // Commands.
    int UINewNode();

    // Memo file commands (File menu).
    int UIOpenMXA();
    int UIOpenURL();
    int UINewFile();
    long long UISaveFileWithMSG();
    long long UISaveFileWithoutMSG();
    // Writes the memo file to its own name; the size, or -1.
    long long UISaveMemoFile();
    // "Save As MXA" (".mxa") and "Save As MAZ" (".maz").
    long long saveAsMemoFile_(std::string_view extension);
    int UISaveAllHolders();
    int UIExplorerMemoFile();
    int UIPrinterSetup();
    int UIHardcopy();
    // The printer the print commands use, with the settings last chosen.
    QPrinter& printer();

    // Holder commands ([Holder] menu and the tab pop-up).
    int UIOpenHolder();
    int UIOpenCSV();
    int UICSV2Holder();
    long long UISaveHolderWithMSG();
    // "SaveAs Force" > "MXH(.mxh)" and "MHZ(.mhz)".
    long long saveAsHolder_(std::string_view extension);
    int UIRenameHolder();
    int UIRenameHolderOther();
    int UIDeleteHolder();
    int UICopyHolder();

    // Moving or copying the current node (with its subtree in a tree) to a
    // holder the user picks.
    int UIMove1To();
    int UICopy1To();
    // Writes the node editor back and saves the current holder to its own
    // file ("SAVE"); the size written, or a negative code.
    long long UISaveHolderNoMSG();
    long long UISaveHolder();
    // The current node in a node window of its own, or in a read-only one.
    int UIShowOtherWindow();
    int UIShowReadWindow();
    int UIShowVersion();
    int UIShowLog();
    int UIShowAbout();

    // Shows the current holder in the list mode named by a ModeNodesMngr
    // value ("CheckListBox", "TreeView", "ListView"); the view layer does it.
    virtual void showListMode(std::string_view /*mode*/) {}

  protected:
    // The tool bar's colour follows the memo file's Color field.
    virtual void refreshColor() {}

  private:
    int showNodeWindow(bool readOnly);
    // Asks to make the folder of `path` when it is missing; false when the
    // user refuses or it cannot be made.
    bool ensureFolderFor(std::string_view path);
    void markEveryHolderChanged();
    // Loads every holder not yet loaded; a missing file leaves it empty.
    void loadEveryHolder();
    // Makes a holder of CSV lines named `name` and shows it; false for none.
    bool holderFromCSV(const std::vector<std::string>& lines, std::string_view name);
    // The holder shown after `index` was deleted: the one now there, or the last.
    MemoHolder* holderAfterDeleting(int index) const;

    // The save dialog is shared: it keeps the filter last set.
    std::string saveDialogFilter_ =
        "All(*.*)|*.*|Text(*.txt)|*.txt|JPEG(*.jpg)|*.jpg;*.jpe;*.jpeg|MemoHolder(*.mxh)|*.mxh|"
        "MemoFile(*.mxa)|*.mxa|HTML(*.html)|*.html;*.htm|XML(*.xml)|*.xml;*.xsl";

    std::string applicationTitle_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace zel
