#pragma once

#include <QImage>
#include <QWidget>

// A picture of the job window, painted once per job, size and font and then
// shown as it was painted, so that a repaint (a window moved over it, a
// mouse move) costs one copy of the image.
class VistaPintada : public QWidget {
    Q_OBJECT

public:
    explicit VistaPintada(QWidget* padre = nullptr);

    QSize sizeHint() const override { return {900, 560}; }

protected:
    // What the picture shows changed: it is painted again when next shown.
    void Renovar();
    // The picture over the whole widget, and the font its texts are set in.
    virtual void pintar(QPainter& p, const QRectF& area) const = 0;
    virtual void ponerLetra(const QFont& letra) = 0;

    void paintEvent(QPaintEvent* evento) override;
    void changeEvent(QEvent* evento) override;

private:
    QImage m_imagen; // the picture at the widget's size, until it is renewed
};
