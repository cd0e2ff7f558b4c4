#include "app/ui/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace tavisto::ui {

TRadioGroup::TRadioGroup(const QString& title, QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)), grid_(new QGridLayout(this)) {
    grid_->setContentsMargins(8, 4, 8, 4);
    grid_->setVerticalSpacing(2);
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && id != index_) {
            index_ = id;
            emit itemIndexChanged(index_);
        }
    });
    connect(group_, &QButtonGroup::idClicked, this, &TRadioGroup::itemClicked);
}

void TRadioGroup::setColumns(int columns) {
    columns_ = columns < 1 ? 1 : columns;
    relayout();
}

void TRadioGroup::setItems(const QStringList& items) {
    clearItems();
    for (const QString& item : items)
        addItem(item);
}

void TRadioGroup::addItem(const QString& item) {
    auto* button = new QRadioButton(item, this);
    group_->addButton(button, static_cast<int>(buttons_.size()));
    buttons_.append(button);
    relayout();
}

void TRadioGroup::clearItems() {
    const int before = index_;
    index_ = -1;
    for (QRadioButton* button : buttons_) {
        group_->removeButton(button);
        delete button;
    }
    buttons_.clear();
    if (before != -1)
        emit itemIndexChanged(-1);
}

QStringList TRadioGroup::items() const {
    QStringList list;
    for (const QRadioButton* button : buttons_)
        list.append(button->text());
    return list;
}

int TRadioGroup::count() const {
    return static_cast<int>(buttons_.size());
}

int TRadioGroup::itemIndex() const {
    return index_;
}

void TRadioGroup::setItemIndex(int index) {
    if (index < 0 || index >= count())
        index = -1;
    if (index == index_)
        return;
    if (index == -1) {
        // An exclusive group cannot uncheck its last button.
        group_->setExclusive(false);
        buttons_[index_]->setChecked(false);
        group_->setExclusive(true);
        index_ = -1;
        emit itemIndexChanged(-1);
        return;
    }
    buttons_[index]->setChecked(true); // idToggled updates index_ and signals
}

QRadioButton* TRadioGroup::button(int index) const {
    return index >= 0 && index < count() ? buttons_[index] : nullptr;
}

void TRadioGroup::relayout() {
    for (QRadioButton* button : buttons_)
        grid_->removeWidget(button);
    const int n = count();
    const int perColumn = (n + columns_ - 1) / columns_;
    for (int i = 0; i < n; ++i)
        grid_->addWidget(buttons_[i], perColumn ? i % perColumn : 0, perColumn ? i / perColumn : 0);
}

} // namespace tavisto::ui
