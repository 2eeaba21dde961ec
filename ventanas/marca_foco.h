#pragma once

class QPaintEvent;
class QWidget;

// A frame in the highlight colour round a control that has the focus, over
// what the style painted: the style marks a focused scroll bar not at all,
// and a focused list with a hairline the eye does not find among the boxes
// of a whole window. Nothing while the control has no focus.
void MarcarFoco(QWidget& control);

// A control of the toolkit that marks its focus so.
template <typename Control>
class ConMarcaDeFoco : public Control {
public:
    using Control::Control;

protected:
    void paintEvent(QPaintEvent* e) override
    {
        Control::paintEvent(e);
        MarcarFoco(*this);
    }
};
