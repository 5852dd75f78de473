#pragma once
// The three list controls of the holder view: the check list, the tree and
// the list (icon, small-icon, list or report style). The frame gives them
// their behaviour through hooks; a control only reports what happened.

#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTreeView>
#include <functional>

namespace zel {

class NodeRowModel;

struct ControlHooks {
    // Whether a drag that started in `source` may end over this control.
    std::function<bool(QObject* source)> acceptsDrop;
    std::function<void(const QPoint& position)> drop;
    std::function<void(int key)> keyUp;
    // True swallows the key press before the control moves its selection.
    std::function<bool(int key)> swallowKey;
    std::function<void(QMouseEvent* event)> mousePress;
};

template <class View>
class NodeControl : public View {
  public:
    using View::View;

    ControlHooks hooks;

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override { acceptIfAllowed(event); }
    void dragMoveEvent(QDragMoveEvent* event) override {
        View::dragMoveEvent(event);
        acceptIfAllowed(event);
    }
    void dropEvent(QDropEvent* event) override {
        if (!allows(event)) return event->ignore();
        event->accept();
        if (hooks.drop) hooks.drop(event->position().toPoint());
    }
    // The drop handler moves the lines; the drag itself must not remove any.
    void startDrag(Qt::DropActions) override {
        const QModelIndexList chosen = this->selectedIndexes();
        if (chosen.isEmpty()) return;
        auto* drag = new QDrag(this);
        drag->setMimeData(this->model()->mimeData(chosen));
        drag->exec(Qt::MoveAction);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (hooks.swallowKey && hooks.swallowKey(event->key())) return event->accept();
        View::keyPressEvent(event);
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        View::keyReleaseEvent(event);
        if (hooks.keyUp) hooks.keyUp(event->key());
    }
    void mousePressEvent(QMouseEvent* event) override {
        View::mousePressEvent(event);
        if (hooks.mousePress) hooks.mousePress(event);
    }

  private:
    bool allows(QDropEvent* event) const {
        return hooks.acceptsDrop && hooks.acceptsDrop(event->source());
    }
    void acceptIfAllowed(QDropEvent* event) {
        if (allows(event)) {
            event->setDropAction(Qt::MoveAction);
            event->accept();
        } else {
            event->ignore();
        }
    }
};

using NodeCheckList = NodeControl<QListView>;
using NodeTreeView = NodeControl<QTreeView>;

// The list control: one model shown in icon, small-icon or list style by a
// list view, or in report style (columns) by a header view.
class NodeListControl : public QStackedWidget {
    Q_OBJECT
  public:
    enum Style { Icon = 0, SmallIcon = 1, List = 2, Report = 3 };

    explicit NodeListControl(QWidget* parent);

    void setNodeModel(NodeRowModel* model);
    NodeRowModel* nodeModel() const { return model_; }
    int viewStyle() const { return style_; }
    void setViewStyle(int style);
    // The report columns' widths follow the model's columns.
    void applyColumnWidths();
    int selectedRow() const;
    void selectRow(int row);
    int rowAt(const QPoint& position) const;
    // The view of the current style.
    QAbstractItemView* activeView() const;
    void setHooks(const ControlHooks& hooks);

    NodeControl<QListView>* iconView;
    NodeControl<QTreeView>* reportView;

  signals:
    void rowClicked(int row);

  private:
    NodeRowModel* model_ = nullptr;
    int style_ = Report;
};

}  // namespace zel
