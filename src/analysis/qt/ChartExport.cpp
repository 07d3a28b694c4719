#include "ChartExport.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>
#include <QSaveFile>
#include <QSvgGenerator>

namespace vcm {

bool saveChartView(QChartView& view, const QString& path, QString* error)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    QSaveFile file(path);  // written beside, renamed into place when whole
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    bool drawn = false;
    if (suffix == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(view.size());
        svg.setViewBox(QRect(QPoint(0, 0), view.size()));
        svg.setTitle(view.chart() ? view.chart()->title() : QString());
        QPainter painter;
        drawn = painter.begin(&svg);
        if (drawn) {
            view.render(&painter);
            painter.end();
        }
    } else if (suffix == QLatin1String("png")) {
        drawn = view.grab().save(&file, "PNG");
    } else {
        if (error) *error = path + QStringLiteral(": save as .png or .svg");
        file.cancelWriting();
        return false;
    }
    if (!drawn || !file.commit()) {
        if (error) *error = path + QStringLiteral(": ") + (drawn ? file.errorString() : QStringLiteral("not drawn"));
        return false;
    }
    return true;
}

QByteArray renderChartPng(std::unique_ptr<QChart> chart, QSize size)
{
    QChartView view(chart.release());
    view.setRenderHint(QPainter::Antialiasing);
    view.resize(size);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!view.grab().save(&buffer, "PNG")) return {};
    return bytes;
}

} // namespace vcm
