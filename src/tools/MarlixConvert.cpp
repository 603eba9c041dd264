// marlix-convert: converts documents between the formats the editor reads
// and writes, and to PDF, through the editor's own readers, writers and
// layout; --pages and --text report what our layout and text export make
// of a file, for comparison with other word processors.
#include "formats/DocumentFile.h"
#include "formats/FormatRegistry.h"
#include "formats/PlainTextExport.h"
#include "richedit/layout/ListNumbering.h"
#include "richedit/layout/PaginatedLayout.h"
#include "richedit/layout/PdfExport.h"
#include "richedit/model/RichEditDocument.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

using namespace richedit;

namespace {

int failWith(const QString &message)
{
    std::fprintf(stderr, "marlix-convert: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("marlix-convert"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Converts documents by the extensions of IN and OUT (docx, rtf, html, "
                       "txt, pdf)."));
    parser.addHelpOption();
    const QCommandLineOption pages(QStringLiteral("pages"),
                                   QStringLiteral("Print the page count of IN."));
    const QCommandLineOption text(QStringLiteral("text"),
                                  QStringLiteral("Print IN as plain-text export."));
    parser.addOption(pages);
    parser.addOption(text);
    parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("Document to read."));
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("Document to write."));
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    const bool report = parser.isSet(pages) || parser.isSet(text);
    if (args.size() != (report ? 1 : 2))
        parser.showHelp(2);

    RichEditDocument doc;
    auto *layout = new PaginatedLayout(&doc);
    QString error;
    if (!formats::DocumentFile::open(args[0], &doc, &error))
        return failWith(error);

    if (parser.isSet(text)) {
        ListNumbering numbering(&doc);
        const QString out =
            formats::PlainTextExport::text(doc, [&numbering](const QTextBlock &block) {
                const QString label = numbering.label(block);
                return label.isEmpty() ? label : label + u' ';
            });
        std::fputs(out.toUtf8().constData(), stdout);
    }
    if (parser.isSet(pages)) {
        layout->layoutAll();
        std::printf("%d\n", layout->laidOutPageCount());
    }
    if (report)
        return 0;

    const QString target = args[1];
    if (QFileInfo(target).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0) {
        if (!PdfExport::write(layout, target, &error))
            return failWith(QStringLiteral("Cannot save “%1”: %2").arg(target, error));
        return 0;
    }
    if (!formats::DocumentFile::save(target, doc, nullptr, &error))
        return failWith(error);
    return 0;
}
