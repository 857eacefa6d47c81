#pragma once

#include <QPushButton>

namespace xpcalc {

// A push button whose caption wraps at word boundaries and is centred, as
// the windows' narrow buttons need ("XP Chart" stands on two lines).
class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    explicit WrappingButton(const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace xpcalc
