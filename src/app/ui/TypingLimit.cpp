#include "app/ui/TypingLimit.h"

#include <QLineEdit>
#include <algorithm>

namespace tavisto::ui {

namespace {

// Follows the edit's text; when an edit by the operator makes it longer than both
// the limit and what it was, the characters over the limit are taken out of what
// was just typed or pasted (which ends at the cursor), as a maximum length would.
class TTypingLimit final : public QObject {
public:
    TTypingLimit(QLineEdit* edit, int limit) : QObject(edit), edit_(edit), limit_(limit) {
        before_ = edit->text().size();
        // textEdited comes before textChanged, so `before_` is still the size before
        // the edit when the edit is judged. Read from the edit: a cut text has
        // replaced the signal's argument.
        connect(edit, &QLineEdit::textEdited, this, [this](const QString&) { judge(); });
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString&) { before_ = edit_->text().size(); });
    }

private:
    void judge() {
        QString text = edit_->text();
        const qsizetype allowed = std::max<qsizetype>(limit_, before_);
        const qsizetype excess = text.size() - allowed;
        if (excess <= 0)
            return;
        const qsizetype cursor = std::max<qsizetype>(edit_->cursorPosition(), excess);
        text.remove(cursor - excess, excess);
        edit_->setText(text);
        edit_->setCursorPosition(static_cast<int>(cursor - excess));
    }

    QLineEdit* edit_;
    int limit_;
    qsizetype before_ = 0;
};

} // namespace

void LimitTyping(QLineEdit* edit, int limit) {
    new TTypingLimit(edit, limit);
}

} // namespace tavisto::ui
