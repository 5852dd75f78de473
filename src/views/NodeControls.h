#pragma once
// The three list controls of the holder view: the check list, the tree and
// the list (icon, small-icon, list or report style). The frame gives them
// their behaviour through hooks; a control only reports what happened.

#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QSortFilterProxyModel>
#include <QStackedWidget>
#include <QTableView>
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

// Lines of one fixed height in a table without grid. Its row header places
// rows by arithmetic, so inserting or appending a line does not lay out every
// other line again as the list and tree views of the toolkit do.
class NodeLineTable : public NodeControl<QTableView> {
  public:
    NodeLineTable(QWidget* parent, bool showColumnHeader);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void fitLineHeight();
};

using NodeCheckList = NodeLineTable;

class NodeTreeModel;
struct TreeItem;

// The tree as lines: each line is indented by its level and shows a branch
// mark that opens or closes the item's children (a click on the mark, a
// double click on the line, or the keys +, - and *).
class NodeTreeView : public NodeLineTable {
  public:
    explicit NodeTreeView(QWidget* parent);

    void setModel(QAbstractItemModel* model) override;
    bool isExpanded(const QModelIndex& index) const;
    void setExpanded(const QModelIndex& index, bool expanded);
    void expandAll();
    void collapseAll();
    int indentation() const { return indentation_; }

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // The line whose branch mark lies under the point; invalid for none.
    QModelIndex branchMarkAt(const QPoint& position) const;
    void toggle(const QModelIndex& index);

    NodeTreeModel* tree_ = nullptr;
    int indentation_ = 20;
    // The current line's item across a change of the lines.
    TreeItem* held_ = nullptr;
};

// The list control: one model shown in icon, small-icon or list style by a
// list view, or in report style (columns) by a header view. A click on a
// column header sorts the lines by that column, a second click the other way
// round, a third shows the holder's order again; the holder's order itself
// stays. Rows are the model's (the holder's order), lines what the view shows.
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

    int lineCount() const;
    // The row shown at `line`, -1 outside the lines; and the other way round.
    int rowOfLine(int line) const;
    int lineOfRow(int row) const;
    // Drops the header's sort: the lines follow the holder's order again.
    void showStoredOrder();

    NodeControl<QListView>* iconView;
    NodeLineTable* reportView;

  signals:
    void rowClicked(int row);

  private:
    void makeHeaderSort();

    NodeRowModel* model_ = nullptr;
    QSortFilterProxyModel* lines_ = nullptr;
    int style_ = Report;
};

}  // namespace zel
