#pragma once
// The node properties window ("FormPropatyNode2"): colour, FlagLink, the
// reader stamps and Filename of the current node, applied with "OK" to the
// current node, the marked nodes, the current holder or every holder, and
// "BasicPut", one field put into the same targets. Modeless; it stays bound to
// the node it shows and binds again to the current node when that changed.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "dialogs/PropertyEdit.h"
#include "dialogs/ui/DialogWidgets.h"
#include "model/NodeRef.h"

namespace zel {

class DialogHost;

class TFormPropatyNode2 : public QWidget {
    Q_OBJECT
  public:
    explicit TFormPropatyNode2(QWidget* parent = nullptr);

    // Links the window to `host` and fills it from the current node; without
    // a current holder or node the window stays as it was.
    void bind(DialogHost& host);
    // "OK" and "BasicPut": 0 when applied; -1 when a link, holder or node is
    // missing (or the window was bound again first because the current node
    // changed).
    int OK();
    int BasicPut();
    void chooseColour();
    void chooseFilename();
    PropertyTarget target() const;
    const NodeProperties& properties() const { return shown_; }

    QLabel* StaticText_Holder;
    QLabel* StaticText_Name;
    RadioGroup* RadioGroup_EditTarget;
    ColourField* StaticText_Color;
    RadioGroup* RadioGroup_flagLink;
    QCheckBox* CheckBox_Creater;
    QCheckBox* CheckBox_Created;
    QCheckBox* CheckBox_Modified;
    QLabel* StaticText_Filename;
    QPushButton* Button_Close;
    QPushButton* Button_OK;
    QComboBox* ComboBox_Field;
    QPushButton* Button_BasicPut;
    QComboBox* ComboBox_value;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    // The current node when the window is still bound to it; else none
    // (after binding again to a new current node).
    MemoNode* boundCurrent();
    void display(const NodeProperties& properties);
    NodeProperties edited() const;
    bool collect(std::vector<MemoNode*>& nodes);

    DialogHost* host_ = nullptr;
    NodeRef bound_;
    NodeProperties shown_;
};

}  // namespace zel
