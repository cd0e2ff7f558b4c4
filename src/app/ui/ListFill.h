#pragma once

#include "settings/Vocabulary.h"

#include <QComboBox>
#include <QString>
#include <QStringList>
#include <string_view>

namespace tavisto::ui {

// A table text as shown in a list: UTF-8, trimmed of spaces.
inline QString ListText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
}

// The list texts of table rows.
template <class Rows, class Name> QStringList ListTexts(const Rows& rows, Name name) {
    QStringList texts;
    for (const auto& row : rows)
        texts.append(ListText(name(row)));
    return texts;
}

// Fills a list from table rows, trimmed of spaces, leaving no item selected.
template <class Rows, class Name> void FillList(QComboBox* list, const Rows& rows, Name name) {
    list->clear();
    list->addItems(ListTexts(rows, name));
    list->setCurrentIndex(-1);
}

// The 27 code page names, for the four lists that choose one.
inline QStringList CodePageListTexts() {
    return ListTexts(CodePages, [](const TCodePages& row) { return row.DisplayName; });
}

} // namespace tavisto::ui
