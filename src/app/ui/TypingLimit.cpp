#include "app/ui/TypingLimit.h"

#include <QLineEdit>
#include <QValidator>

namespace tavisto::ui {

namespace {

class TTypingLimit final : public QValidator {
public:
    TTypingLimit(QLineEdit* edit, int limit) : QValidator(edit), edit_(edit), limit_(limit) {}

    State validate(QString& input, int&) const override {
        // What the edit holds now may already be longer than the limit (set by the
        // program); an edit that does not make it longer is fine.
        return input.size() <= limit_ || input.size() <= edit_->text().size() ? Acceptable
                                                                               : Invalid;
    }

private:
    QLineEdit* edit_;
    int limit_;
};

} // namespace

void LimitTyping(QLineEdit* edit, int limit) {
    edit->setValidator(new TTypingLimit(edit, limit));
}

} // namespace tavisto::ui
