#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

namespace tavisto::ui {

// A titled group of radio buttons addressed by item index, the items laid out in
// columns top to bottom. itemIndex() is -1 while no item is selected.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(const QString& title = {}, QWidget* parent = nullptr);

    void setColumns(int columns);
    int columns() const { return columns_; }

    // Replacing or clearing the items leaves no item selected.
    void setItems(const QStringList& items);
    void addItem(const QString& item);
    void clearItems();
    QStringList items() const;
    int count() const;

    int itemIndex() const;
    // An index outside the items (-1 included) leaves no item selected.
    void setItemIndex(int index);

    QRadioButton* button(int index) const;

signals:
    // The selection changed, by a click or by setItemIndex.
    void itemIndexChanged(int index);
    // The operator clicked an item (never sent for setItemIndex).
    void itemClicked(int index);

private:
    void relayout();

    QButtonGroup* group_;
    QGridLayout* grid_;
    QList<QRadioButton*> buttons_;
    int columns_ = 1;
    int index_ = -1;
};

} // namespace tavisto::ui
