#include "app/help/help_pdf_writer.h"

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QString>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextListFormat>
#include <QTextOption>

#include <system_error>

namespace kelvo {
namespace {

constexpr int kResolution = 300;  // dots per inch of the PDF's coordinates
constexpr double kMarginLeftMm = 22.0;
constexpr double kMarginRightMm = 20.0;
constexpr double kMarginTopMm = 20.0;
constexpr double kMarginBottomMm = 14.0;
constexpr double kFooterMm = 10.0;  // footer band at the bottom of the printable area

constexpr double kBodyPoints = 10.5;
constexpr double kTitlePoints = 18.0;
constexpr double kHeadingPoints = 13.0;
constexpr double kMonospacedPoints = 8.8;  // 84 columns fit the text width
constexpr double kFooterPoints = 8.0;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont SansFont(double points, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont MonospacedFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Mono"), QStringLiteral("Courier New"),
                      QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSizeF(kMonospacedPoints);
    return font;
}

double MmToPixels(double millimetres) {
    return millimetres / 25.4 * kResolution;
}

// Lengths in text formats: the document layout counts them in pixels of a 96 dpi screen and
// scales them to its paint device itself.
double MmToFormat(double millimetres) {
    return millimetres / 25.4 * 96.0;
}

// Builds the document from the blocks. Consecutive list items share one list; every line of a
// monospaced block is a block of its own, so page breaks fall between lines.
class HelpDocumentBuilder {
  public:
    explicit HelpDocumentBuilder(QTextDocument& document) : cursor_(&document) {}

    void Add(const HelpBlock& block) {
        if (block.kind != HelpBlockKind::ListItem && list_ != nullptr) {
            list_ = nullptr;
            afterList_ = MmToFormat(2.0);  // the list's items are set close together
        }
        switch (block.kind) {
            case HelpBlockKind::Title:
                Paragraph(block.text, SansFont(kTitlePoints, true), 0.0, MmToFormat(6.0));
                break;
            case HelpBlockKind::Heading:
                Paragraph(block.text, SansFont(kHeadingPoints, true), MmToFormat(6.0),
                          MmToFormat(2.0));
                break;
            case HelpBlockKind::Paragraph:
                Paragraph(block.text, SansFont(kBodyPoints, false), 0.0, MmToFormat(3.0));
                break;
            case HelpBlockKind::ListItem:
                ListItem(block.text);
                break;
            case HelpBlockKind::Monospaced:
                Monospaced(block.text);
                break;
        }
    }

  private:
    // The first block of the document exists already; every later one is inserted.
    void NextBlock(QTextBlockFormat format, const QTextCharFormat& characters) {
        format.setTopMargin(format.topMargin() + afterList_);
        afterList_ = 0.0;
        if (first_) {
            cursor_.setBlockFormat(format);
            cursor_.setBlockCharFormat(characters);
            first_ = false;
        } else {
            cursor_.insertBlock(format, characters);
        }
    }

    void Paragraph(const std::string& text, const QFont& font, double above, double below) {
        QTextBlockFormat format;
        format.setTopMargin(above);
        format.setBottomMargin(below);
        QTextCharFormat characters;
        characters.setFont(font);
        NextBlock(format, characters);
        cursor_.insertText(FromUtf8(text), characters);
    }

    void ListItem(const std::string& text) {
        QTextBlockFormat format;
        format.setBottomMargin(MmToFormat(1.5));
        QTextCharFormat characters;
        characters.setFont(SansFont(kBodyPoints, false));
        NextBlock(format, characters);
        if (list_ == nullptr) {
            QTextListFormat listFormat;
            listFormat.setStyle(QTextListFormat::ListDisc);
            listFormat.setIndent(1);
            list_ = cursor_.createList(listFormat);
        } else {
            list_->add(cursor_.block());
        }
        cursor_.insertText(FromUtf8(text), characters);
    }

    void Monospaced(const std::string& text) {
        QTextCharFormat characters;
        characters.setFont(MonospacedFont());
        const QStringList lines = FromUtf8(text).split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QTextBlockFormat format;
            format.setLeftMargin(MmToFormat(4.0));
            format.setBackground(QColor(0xF0, 0xF0, 0xF0));
            format.setTopMargin(i == 0 ? MmToFormat(1.0) : 0.0);
            format.setBottomMargin(i + 1 == lines.size() ? MmToFormat(3.5) : 0.0);
            format.setNonBreakableLines(true);
            NextBlock(format, characters);
            cursor_.insertText(lines[i], characters);
        }
    }

    QTextCursor cursor_;
    QTextList* list_ = nullptr;
    bool first_ = true;
    double afterList_ = 0.0;
};

QString TitleOf(const std::vector<HelpBlock>& blocks) {
    for (const HelpBlock& block : blocks) {
        if (block.kind == HelpBlockKind::Title) {
            return FromUtf8(block.text);
        }
    }
    return {};
}

}  // namespace

Status WriteHelpPdf(const std::vector<HelpBlock>& blocks, const std::filesystem::path& target) {
    std::filesystem::path partial = target;
    partial += ".partial";
    const QString title = TitleOf(blocks);
    {
        QPdfWriter writer(QString::fromStdString(partial.string()));
        writer.setResolution(kResolution);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                        QMarginsF(kMarginLeftMm, kMarginTopMm, kMarginRightMm, kMarginBottomMm),
                        QPageLayout::Millimeter));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("kelvo-helpdoc"));

        const QRectF printable = writer.pageLayout().paintRectPixels(kResolution);
        const double footer = MmToPixels(kFooterMm);
        const QSizeF body(printable.width(), printable.height() - footer);

        QTextDocument document;
        document.documentLayout()->setPaintDevice(&writer);
        document.setDocumentMargin(0.0);
        document.setDefaultFont(SansFont(kBodyPoints, false));
        QTextOption wrapping = document.defaultTextOption();
        wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        document.setDefaultTextOption(wrapping);
        document.setPageSize(body);
        HelpDocumentBuilder builder(document);
        for (const HelpBlock& block : blocks) {
            builder.Add(block);
        }

        QPainter painter;
        if (!painter.begin(&writer)) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            return Error{target.string() + ": Die PDF-Datei kann nicht geschrieben werden."};
        }
        const QFont footerFont = SansFont(kFooterPoints, false);
        const double footerBaseline =
            printable.height() - QFontMetricsF(footerFont, &writer).descent();
        const int pages = document.pageCount();
        for (int page = 0; page < pages; ++page) {
            if (page > 0) {
                writer.newPage();
            }
            painter.save();
            painter.translate(0.0, -page * body.height());
            document.drawContents(&painter,
                                  QRectF(0.0, page * body.height(), body.width(), body.height()));
            painter.restore();

            painter.save();
            painter.setPen(QPen(QColor(0x80, 0x80, 0x80), MmToPixels(0.2)));
            const double rule = body.height() + footer * 0.3;
            painter.drawLine(QPointF(0.0, rule), QPointF(body.width(), rule));
            painter.setFont(footerFont);
            painter.setPen(QColor(0x40, 0x40, 0x40));
            const QString number = QStringLiteral("Seite %1 von %2").arg(page + 1).arg(pages);
            painter.drawText(QPointF(0.0, footerBaseline), title);
            const double numberWidth = QFontMetricsF(footerFont, &writer).horizontalAdvance(number);
            painter.drawText(QPointF(body.width() - numberWidth, footerBaseline), number);
            painter.restore();
        }
        if (!painter.end()) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            return Error{target.string() + ": Die PDF-Datei kann nicht geschrieben werden."};
        }
    }
    std::error_code renamed;
    std::filesystem::rename(partial, target, renamed);
    if (renamed) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        return Error{target.string() + ": " + renamed.message()};
    }
    return {};
}

}  // namespace kelvo
