#pragma once
// The two rich-text views of the window: the report (RTF, read through the core's reader)
// and the references (HTML, read-only, links reported by one click).

#include <QTextEdit>

#include <filesystem>
#include <string>
#include <string_view>

class QAction;
class QTextDocument;

namespace skelmar {

// Fills the empty `document` with the RTF document (code page 1252 bytes): its fonts, sizes
// and paragraphs; runs without a font of their own take the document's default font. The
// report view, the printed page and the PDF file are filled alike.
void LoadRtfIntoDocument(QTextDocument& document, std::string_view rtf);

// WPRichText1: an editable view of the report.
class ReportView final : public QTextEdit {
    Q_OBJECT
public:
    explicit ReportView(QWidget* parent = nullptr);

    // Clears the text: the view's document becomes empty.
    void ClearText();
    // Makes the RTF document (code page 1252 bytes) the view's whole content, with its
    // fonts, sizes and paragraphs; the modified mark is cleared and the caret put at the start.
    void LoadReport(std::string_view rtf);

    // The context menu's commands, with their shortcuts while the view has the focus:
    // Copy (Ctrl+C), Save As... (Ctrl+S), Print... (Ctrl+P). The window carries them out.
    QAction* CopyAction() const { return copyAction_; }
    QAction* SaveAsAction() const { return saveAsAction_; }
    QAction* PrintAction() const { return printAction_; }

signals:
    void CopyRequested();
    void SaveAsRequested();
    void PrintRequested();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QAction* copyAction_;
    QAction* saveAsAction_;
    QAction* printAction_;
};

// WPRichTextRefs: a read-only view of an HTML document whose links are reported, not followed.
class ReferencesView final : public QTextEdit {
    Q_OBJECT
public:
    explicit ReferencesView(QWidget* parent = nullptr);

    // Loads the file as HTML whatever its extension; pictures it places are read from files
    // relative to it, never from the network. Throws Error("Cannot open file <path>") when
    // the file cannot be read; the view then keeps what it showed.
    void LoadHtmlFile(const std::filesystem::path& path);

    // The link at a point of the viewport: its shown text and its target; both empty when
    // there is none.
    struct Link {
        QString text;
        QString stamp;
    };
    Link LinkAt(const QPoint& viewportPoint) const;

signals:
    // One click on a link.
    void HyperLinkEvent(const QString& text, const QString& stamp);
    void DoubleClicked();

protected:
    QVariant loadResource(int type, const QUrl& name) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QUrl baseUrl_;
    QPoint pressedAt_;
};

}  // namespace skelmar
