#include "app/Widgets.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QListView>
#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QStylePainter>

#include "graph/QtText.h"
#include "app/StationSearch.h"
#include "config/StationEntry.h"

namespace skelmar {

namespace {

constexpr int kStationItemHeight = 18;

// The list drops down below the box, as a list box does, rather than opening over it as a
// menu: a menu is made as wide as its widest entry, and measuring 2,000 entries at each
// opening would take longer than a frame.
class DropDownListStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == QStyle::SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

class StationItemDelegate final : public QStyledItemDelegate {
public:
    explicit StationItemDelegate(const StationComboBox* box) : QStyledItemDelegate(const_cast<StationComboBox*>(box)), box_(box) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        box_->ecComboBoxWxLocDrawItem(*painter, index.row(), option.rect,
                                      option.state & QStyle::State_Selected);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kStationItemHeight};
    }

private:
    const StationComboBox* box_;
};

}  // namespace

StationComboBox::StationComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    auto* style = new DropDownListStyle;
    style->setParent(this);
    setStyle(style);
    setItemDelegate(new StationItemDelegate(this));
    // Every row has the same height: the list lays out its 2,000 rows without measuring each.
    if (auto* list = qobject_cast<QListView*>(view()))
        list->setUniformItemSizes(true);
    // While the list is open, its view has the keyboard.
    view()->installEventFilter(this);
    // The keys are made again at the next search after the items change.
    connect(model(), &QAbstractItemModel::rowsInserted, this, [this] { searchKeys_.clear(); });
    connect(model(), &QAbstractItemModel::rowsRemoved, this, [this] { searchKeys_.clear(); });
    connect(model(), &QAbstractItemModel::modelReset, this, [this] { searchKeys_.clear(); });
}

void StationComboBox::SetSearchText(const QString& text)
{
    search_ = text;
    if (searchKeys_.size() != count()) {
        searchKeys_.clear();
        searchKeys_.reserve(count());
        for (int row = 0; row < count(); ++row)
            searchKeys_.push_back(StationSearchKey(itemText(row)));
    }
    auto* list = qobject_cast<QListView*>(view());
    std::vector<bool> shown(static_cast<std::size_t>(count()), false);
    const std::vector<int> rows = MatchingStations(searchKeys_, text);
    for (const int row : rows)
        shown[static_cast<std::size_t>(row)] = true;
    list->setUpdatesEnabled(false);
    for (int row = 0; row < count(); ++row)
        if (list->isRowHidden(row) == shown[static_cast<std::size_t>(row)])
            list->setRowHidden(row, !shown[static_cast<std::size_t>(row)]);
    list->setUpdatesEnabled(true);
    // Closing the list picks its highlighted row after clearing the search: that row stays.
    if (!text.isEmpty() && !rows.empty())
        list->setCurrentIndex(model()->index(rows.front(), modelColumn(), rootModelIndex()));
    update();
}

int StationComboBox::ShownCount() const
{
    const auto* list = qobject_cast<const QListView*>(view());
    int shown = 0;
    for (int row = 0; row < count(); ++row)
        shown += list->isRowHidden(row) ? 0 : 1;
    return shown;
}

void StationComboBox::hidePopup()
{
    QComboBox::hidePopup();
    if (!search_.isEmpty())
        SetSearchText(QString());
}

bool StationComboBox::Type(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Backspace) {
        if (!search_.isEmpty())
            SetSearchText(search_.chopped(1));
        return true;
    }
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    if (search_.isEmpty() && text == QLatin1String(" "))
        return false;  // a space on the closed list opens it, as ever
    const bool opening = !view()->isVisible();
    SetSearchText(search_ + text);
    if (opening) {
        // Narrowed first: opening measures the rows shown. Opening highlights the current
        // station; the first match is highlighted again after.
        showPopup();
        SetSearchText(search_);
    }
    return true;
}

void StationComboBox::keyPressEvent(QKeyEvent* event)
{
    if (!Type(event))
        QComboBox::keyPressEvent(event);
}

bool StationComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view() && event->type() == QEvent::KeyPress && Type(static_cast<QKeyEvent*>(event)))
        return true;
    return QComboBox::eventFilter(watched, event);
}

QString StationComboBox::DisplayText(const QString& entry)
{
    return ToQString(StationDisplayText(FromQString(entry)));
}

void StationComboBox::ecComboBoxWxLocDrawItem(QPainter& painter, int index, const QRect& rect,
                                              bool selected) const
{
    const QPalette& p = view()->palette();
    painter.save();
    painter.fillRect(rect, selected ? p.highlight() : p.base());
    painter.setPen(selected ? p.highlightedText().color() : p.text().color());
    painter.setFont(font());
    painter.drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     DisplayText(itemText(index)));
    painter.restore();
}

void StationComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = search_.isEmpty() ? DisplayText(currentText()) : search_;
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

PictureButton::PictureButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setAttribute(Qt::WA_Hover);
}

void PictureButton::SetPicture(State state, const QPixmap& picture)
{
    QPixmap transparent = picture;
    transparent.setMask(picture.createMaskFromColor(Qt::white));
    pictures_[state] = transparent;
    if (state == Normal)
        setIconSize(picture.size());
    update();
}

PictureButton::State PictureButton::CurrentState() const
{
    if (!isEnabled())
        return Disabled;
    if (isDown())
        return Pressed;
    if (underMouse())
        return Hot;
    return Normal;
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QPixmap& picture = pictures_[CurrentState()].isNull() ? pictures_[Normal] : pictures_[CurrentState()];
    option.icon = QIcon(picture);
    option.iconSize = picture.size();
    painter.drawControl(QStyle::CE_PushButton, option);
}

RotatedLabel::RotatedLabel(const QString& text, QWidget* parent) : QWidget(parent), text_(text)
{
    resize(sizeHint());
}

void RotatedLabel::setText(const QString& text)
{
    text_ = text;
    resize(sizeHint());
    update();
}

QSize RotatedLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.height(), metrics.horizontalAdvance(text_)};
}

void RotatedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().windowText().color());
    painter.translate(0, height());
    painter.rotate(-90);
    painter.drawText(QRect(0, 0, height(), width()), Qt::AlignCenter, text_);
}

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    setCursor(Qt::PointingHandCursor);
    SetColour(palette().highlight().color());
}

void LinkLabel::MarkUsed()
{
    used_ = true;
    SetColour(QColor(128, 0, 128));
}

void LinkLabel::SetColour(const QColor& colour)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

ColouredTabBar::ColouredTabBar(QWidget* parent) : QTabBar(parent)
{
    setDrawBase(false);
}

QColor ColouredTabBar::TabColour(int index) const
{
    return index == currentIndex() ? palette().color(QPalette::Button)
                                   : palette().color(QPalette::Disabled, QPalette::WindowText);
}

void ColouredTabBar::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        painter.fillRect(option.rect, TabColour(i));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(option.rect.adjusted(0, 0, -1, i == currentIndex() ? 0 : -1));
        painter.drawControl(QStyle::CE_TabBarTabLabel, option);
    }
}

ColouredTabWidget::ColouredTabWidget(QWidget* parent) : QTabWidget(parent)
{
    setTabBar(new ColouredTabBar(this));
    connect(this, &QTabWidget::currentChanged, this, [this] { tabBar()->update(); });
}

RadioGroup::RadioGroup(const QStringList& items, int columns, QWidget* parent) : QWidget(parent)
{
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        group_.addButton(button, i);
        layout->addWidget(button, i / columns, i % columns);
    }
    connect(&group_, &QButtonGroup::idClicked, this, &RadioGroup::clicked);
}

int RadioGroup::ItemIndex() const
{
    return group_.checkedId();
}

void RadioGroup::SetItemIndex(int index)
{
    if (QAbstractButton* button = group_.button(index))
        button->setChecked(true);
}

QAbstractButton* RadioGroup::Item(int index) const
{
    return group_.button(index);
}

}  // namespace skelmar
