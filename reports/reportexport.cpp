#include "reports/reportexport.h"

#include "database/trainrecord.h"

#include <QBuffer>
#include <QDateTime>
#include <QFileDevice>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {
constexpr qreal kOffset = 10;

QString fileNamePart(QString text)
{
    // Separators and the characters Windows refuses would send the file elsewhere or nowhere.
    static const QString kRefused = QStringLiteral("\\/:*?\"<>|");
    for (QChar &c : text) {
        if (c < QLatin1Char(' ') || kRefused.contains(c))
            c = QLatin1Char('_');
    }
    return text;
}
} // namespace

QString ReportExport::defaultFileName(const ST_TrainReport &report)
{
    QString start;
    const QDateTime startTime =
        QDateTime::fromString(report.startTimeStr, QLatin1String(kStartTimeFormat));
    if (startTime.isValid()) {
        start = startTime.toString(QStringLiteral("yyyyMMddhhmmss"));
    } else {
        for (const QChar c : report.startTimeStr) {
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                start += c;
        }
    }
    QString name = fileNamePart(report.name) + QLatin1Char('-') + QString::number(report.ID);
    if (!start.isEmpty())
        name += QLatin1Char('-') + start;
    return name;
}

QRectF ReportExport::imageTarget(const QSize &image, const QRect &viewport)
{
    const qreal width = viewport.width() - 2 * kOffset;
    const qreal height = viewport.height() - 2 * kOffset;
    if (image.isEmpty() || width <= 0 || height <= 0)
        return QRectF(kOffset, kOffset, 0, 0);
    const qreal scale = qMin(width / image.width(), height / image.height());
    return QRectF(kOffset, kOffset, image.width() * scale, image.height() * scale);
}

bool ReportExport::writePdf(QIODevice *device, const QImage &image)
{
    // Written to memory first: the PDF writer does not tell when the device refuses bytes.
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(imageTarget(image.size(), painter.viewport()), image);
        if (!painter.end())
            return false;
    }
    if (device->write(pdf) != pdf.size())
        return false;
    if (auto *file = qobject_cast<QFileDevice *>(device))
        return file->flush();
    return true;
}
