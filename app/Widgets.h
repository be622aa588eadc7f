#pragma once
// The controls of the window that Qt does not offer as they are: the station list that shows
// only the display text of its entries, the picture button, the label turned by 90 degrees,
// the link label and the radio group with an item index.

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

#include <array>

namespace skelmar {

// A drop-down list whose items are whole station entries ("Denver, CO (DEN)=7") and which
// shows only their display text (before the "="), in the closed box too.
//
// Typing searches it: the first character opens the list, and each key narrows it to the
// entries whose text, ICAO identifier or state name holds what was typed (StationSearch.h),
// the first of them highlighted. Backspace widens it again. Enter or a click picks an entry
// (the ordinary `activated`), Esc closes the list and leaves the station as it was.
class StationComboBox final : public QComboBox {
    Q_OBJECT
public:
    explicit StationComboBox(QWidget* parent = nullptr);

    static QString DisplayText(const QString& entry);

    // What has been typed since the list opened; "" when no search is under way.
    const QString& SearchText() const { return search_; }
    // Narrows the list to the entries matching `text` (all of them for "").
    void SetSearchText(const QString& text);
    // The entries the list shows now.
    int ShownCount() const;

    void hidePopup() override;

    // Draws one item: the background of its state, then the display text 2 pixels from the
    // left edge, at the top of the rectangle.
    void ecComboBoxWxLocDrawItem(QPainter& painter, int index, const QRect& rect, bool selected) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Applies a typed key to the search; false for a key that is no text or Backspace.
    bool Type(QKeyEvent* event);

    QString search_;
    QStringList searchKeys_;  // StationSearchKey of each item, made at the first search
};

// A push button with a picture left of its caption, one picture per state (normal, disabled,
// pressed, under the mouse).
class PictureButton final : public QPushButton {
    Q_OBJECT
public:
    enum State { Normal, Disabled, Pressed, Hot };
    explicit PictureButton(const QString& caption, QWidget* parent = nullptr);
    // The pictures are taken with white as transparent.
    void SetPicture(State state, const QPixmap& picture);
    State CurrentState() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<QPixmap, 4> pictures_;
};

// A label whose text reads from bottom to top; it sizes itself to its text.
class RotatedLabel final : public QWidget {
    Q_OBJECT
public:
    explicit RotatedLabel(const QString& text, QWidget* parent = nullptr);
    void setText(const QString& text);
    QString text() const { return text_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

// An underlined label that opens a target when clicked and turns purple once it has.
class LinkLabel final : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);
    void MarkUsed();
    bool IsUsed() const { return used_; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetColour(const QColor& colour);
    bool used_ = false;
};

// Tabs whose selected tab and page take the button-face colour and every other tab the
// grey-text colour, following every change of the selected page.
class ColouredTabBar final : public QTabBar {
    Q_OBJECT
public:
    explicit ColouredTabBar(QWidget* parent = nullptr);
    QColor TabColour(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class ColouredTabWidget final : public QTabWidget {
    Q_OBJECT
public:
    explicit ColouredTabWidget(QWidget* parent = nullptr);
    ColouredTabBar* Bar() const { return static_cast<ColouredTabBar*>(tabBar()); }
};

// Radio buttons laid out in columns, read and set by item index; `clicked` is sent only when
// the user selects an item.
class RadioGroup final : public QWidget {
    Q_OBJECT
public:
    RadioGroup(const QStringList& items, int columns, QWidget* parent = nullptr);
    int ItemIndex() const;
    void SetItemIndex(int index);
    QAbstractButton* Item(int index) const;

signals:
    void clicked(int index);

private:
    QButtonGroup group_;
};

}  // namespace skelmar
