#pragma once
// Charts to files: PNG through the widget's own rendering, SVG through Qt SVG.
#include <QByteArray>
#include <QChart>
#include <QChartView>
#include <QSize>
#include <QString>

#include <memory>

namespace vcm {

// Saves what the view shows; the format follows the suffix (".png" or ".svg").
// False with error filled when the file could not be written.
bool saveChartView(QChartView& view, const QString& path, QString* error);

// Renders a chart alone at size, as PNG bytes (for the report); empty on failure.
QByteArray renderChartPng(std::unique_ptr<QChart> chart, QSize size);

} // namespace vcm
