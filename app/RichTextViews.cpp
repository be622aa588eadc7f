#include "app/RichTextViews.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMouseEvent>
#include <QStringConverter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "graph/QtText.h"
#include "richtext/RtfReader.h"
#include "text/Cp1252.h"
#include "text/Error.h"

namespace skelmar {

namespace {

QTextCharFormat ToQt(const CharFormat& format, const QFont& defaultFont)
{
    QTextCharFormat qt;
    qt.setFontFamilies({format.family.empty() ? defaultFont.family() : QString::fromStdString(format.family)});
    qt.setFontPointSize(format.pointSize);
    qt.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    qt.setFontItalic(format.italic);
    qt.setFontUnderline(format.underline);
    return qt;
}

// The HTML file's text: in the encoding its bytes declare, else code page 1252.
QString DecodeHtml(const QByteArray& bytes)
{
    if (const auto encoding = QStringConverter::encodingForHtml(bytes)) {
        QStringDecoder decoder(*encoding);
        return decoder.decode(bytes);
    }
    return ToQString(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace

void LoadRtfIntoDocument(QTextDocument& document, std::string_view rtf)
{
    const RichDocument rich = ReadRtf(std::string(rtf) + "\r\n");
    QTextCursor cursor(&document);
    const QFont defaultFont = document.defaultFont();
    for (std::size_t i = 0; i < rich.paragraphs.size(); ++i) {
        if (i > 0)
            cursor.insertBlock();
        for (const RichRun& run : rich.paragraphs[i].runs)
            cursor.insertText(QString::fromUtf8(run.text.data(), static_cast<qsizetype>(run.text.size())),
                              ToQt(run.format, defaultFont));
    }
}

ReportView::ReportView(QWidget* parent) : QTextEdit(parent)
{
    setObjectName(QStringLiteral("WPRichText1"));
    setAcceptRichText(true);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAcceptDrops(false);
    setTabChangesFocus(false);
    document()->setDefaultFont(QFont(QStringLiteral("Arial"), 11));

    const auto action = [this](const QString& text, const QKeySequence& keys, const char* name,
                               void (ReportView::*requested)()) {
        auto* command = new QAction(text, this);
        command->setObjectName(QString::fromLatin1(name));
        command->setShortcut(keys);
        command->setShortcutContext(Qt::WidgetShortcut);
        command->setShortcutVisibleInContextMenu(true);
        connect(command, &QAction::triggered, this, requested);
        addAction(command);
        return command;
    };
    copyAction_ = action(QStringLiteral("&Copy"), QKeySequence::Copy, "ReportCopyAction", &ReportView::CopyRequested);
    saveAsAction_ = action(QStringLiteral("Save &As..."), QKeySequence(Qt::CTRL | Qt::Key_S), "ReportSaveAsAction",
                           &ReportView::SaveAsRequested);
    printAction_ = action(QStringLiteral("&Print..."), QKeySequence(Qt::CTRL | Qt::Key_P), "ReportPrintAction",
                          &ReportView::PrintRequested);
}

void ReportView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(copyAction_);
    menu.addSeparator();
    menu.addAction(saveAsAction_);
    menu.addAction(printAction_);
    menu.exec(event->globalPos());
}

void ReportView::keyPressEvent(QKeyEvent* event)
{
    // The editor takes Ctrl+C for itself and copies only a selection; the report's Copy
    // copies the whole report when nothing is selected.
    if (event == QKeySequence::Copy) {
        emit CopyRequested();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void ReportView::ClearText()
{
    clear();
}

void ReportView::LoadReport(std::string_view rtf)
{
    // The attributes for new text until the document says otherwise.
    clear();
    QTextCharFormat writing;
    writing.setFontFamilies({QStringLiteral("Times New Roman")});
    writing.setFontPointSize(12);
    setCurrentCharFormat(writing);

    LoadRtfIntoDocument(*document(), rtf);
    document()->setModified(false);
    QTextCursor start(this->document());
    start.setPosition(0);
    setTextCursor(start);
}

ReferencesView::ReferencesView(QWidget* parent) : QTextEdit(parent)
{
    setObjectName(QStringLiteral("WPRichTextRefs"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextBrowserInteraction);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setAcceptDrops(false);
    document()->setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    QPalette p = palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    setPalette(p);
    viewport()->setAutoFillBackground(false);
}

void ReferencesView::LoadHtmlFile(const std::filesystem::path& path)
{
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly))
        throw Error("Cannot open file " + Utf8ToCp1252(path.string()));
    const QByteArray bytes = file.readAll();
    baseUrl_ = QUrl::fromLocalFile(QFileInfo(file).absolutePath() + QLatin1Char('/'));
    document()->setBaseUrl(baseUrl_);
    setHtml(DecodeHtml(bytes));
}

QVariant ReferencesView::loadResource(int type, const QUrl& name)
{
    // Only pictures from local files next to the document; nothing is fetched.
    const QUrl url = baseUrl_.resolved(name);
    if (type != QTextDocument::ImageResource || !url.isLocalFile())
        return {};
    QImage image(url.toLocalFile());
    return image.isNull() ? QVariant() : QVariant(image);
}

ReferencesView::Link ReferencesView::LinkAt(const QPoint& viewportPoint) const
{
    const QString href = anchorAt(viewportPoint);
    if (href.isEmpty())
        return {};
    // The shown text: the run of adjacent fragments carrying this link that holds the point.
    const int position = cursorForPosition(viewportPoint).position();
    const QTextBlock block = cursorForPosition(viewportPoint).block();
    QString text;
    bool holdsPoint = false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        if (!format.isAnchor() || format.anchorHref() != href) {
            if (holdsPoint)
                break;
            text.clear();
            continue;
        }
        text += fragment.text();
        holdsPoint = holdsPoint || (position >= fragment.position() &&
                                    position <= fragment.position() + fragment.length());
    }
    return {holdsPoint ? text : QString(), href};
}

void ReferencesView::mousePressEvent(QMouseEvent* event)
{
    pressedAt_ = event->position().toPoint();
    QTextEdit::mousePressEvent(event);
}

void ReferencesView::mouseReleaseEvent(QMouseEvent* event)
{
    QTextEdit::mouseReleaseEvent(event);
    // A click, not the end of a drag that selects text.
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton ||
        (at - pressedAt_).manhattanLength() >= QApplication::startDragDistance())
        return;
    const Link link = LinkAt(at);
    if (!link.stamp.isEmpty())
        emit HyperLinkEvent(link.text, link.stamp);
}

void ReferencesView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTextEdit::mouseDoubleClickEvent(event);
    emit DoubleClicked();
}

}  // namespace skelmar
