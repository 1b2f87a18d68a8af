#pragma once

#include "database/trainreport.h"

#include <QImage>
#include <QRect>
#include <QString>

class QIODevice;

// The report as a PDF file: the proposed file name and the one A4 page with the report image.
class ReportExport
{
public:
    // "name-number-yyyyMMddhhmmss"; a start that does not parse gives its digits, and none
    // gives "name-number". Characters that cannot stand in a file name become "_".
    static QString defaultFileName(const ST_TrainReport &report);

    // Where the image goes on a page whose painter viewport is given: 10 units in from the top
    // left, as wide as the page allows, the whole image on the page, aspect ratio kept.
    static QRectF imageTarget(const QSize &image, const QRect &viewport);

    // Writes an A4 PDF holding the image to the open device; false when a byte did not get there.
    static bool writePdf(QIODevice *device, const QImage &image);
};
