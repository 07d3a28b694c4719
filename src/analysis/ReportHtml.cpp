#include "ReportHtml.h"

#include "common/Format.h"

namespace vcm {
namespace {

constexpr std::size_t MaxProblemsShown = 20;

void appendChart(std::string& h, const ReportChart& c)
{
    h += "<figure><img alt=\"" + escapeHtml(c.title) + "\" src=\"data:image/png;base64," + base64(c.png) +
         "\"><figcaption>" + escapeHtml(c.title) + " (" + escapeHtml(c.fileName) + ")</figcaption></figure>\n";
}

} // namespace

std::string reportRunList(const std::vector<RunListEntry>& runs)
{
    std::string h;
    h += "<h2>Runs</h2>\n<table><tr><th>Log</th>";
    for (const auto& c : runListColumns()) h += "<th>" + escapeHtml(c) + "</th>";
    h += "</tr>\n";
    for (const auto& r : runs) {
        h += "<tr><td><a href=\"#" + escapeHtml(r.name) + "\">" + escapeHtml(r.name) + "</a></td>";
        for (const auto& v : runListRow(r.summary)) h += "<td>" + escapeHtml(v) + "</td>";
        h += "</tr>\n";
    }
    h += "</table>\n";
    return h;
}

std::string reportRunSection(const ReportRun& r)
{
    std::string h = "<section id=\"" + escapeHtml(r.name) + "\"><h2>" + escapeHtml(r.name) + "</h2>\n<table class=\"summary\">";
    for (const auto& [label, value] : summaryTable(r.summary))
        h += "<tr><th>" + escapeHtml(label) + "</th><td>" + escapeHtml(value) + "</td></tr>";
    h += "</table>\n";
    if (!r.problems.empty()) {
        h += "<p class=\"problems\">" + std::to_string(r.problems.size()) + " damaged line(s) skipped:<br>";
        for (std::size_t i = 0; i < r.problems.size() && i < MaxProblemsShown; ++i)
            h += escapeHtml(r.problems[i]) + "<br>";
        h += "</p>\n";
    }
    for (const auto& c : r.charts) appendChart(h, c);
    h += "</section>\n";
    return h;
}

std::string reportTrend(const TripTrend& t, const std::vector<ReportChart>& charts)
{
    const TripTotals& s = t.totals;
    std::string h = "<section><h2>Trip file</h2>\n<table class=\"summary\">";
    h += "<tr><th>Stored trips</th><td>" + std::to_string(t.trips.size()) + "</td></tr>";
    h += "<tr><th>Lifetime distance</th><td>" + formatNumber(s.TotalDistanceM / 1000, "0.0", '.') + " km</td></tr>";
    h += "<tr><th>Lifetime fuel</th><td>" + formatNumber(s.TotalFuelMl / 1000, "0.00", '.') + " L</td></tr>";
    h += "<tr><th>Lifetime driving time</th><td>" + formatNumber(s.TotalSeconds / 3600, "0.0", '.') + " h</td></tr>";
    if (s.TotalDistanceM > 0)
        h += "<tr><th>Lifetime consumption</th><td>" + formatNumber(s.TotalFuelMl * 100 / s.TotalDistanceM, "0.00", '.') +
             " L/100 km</td></tr>";
    h += "</table>\n";
    for (const auto& c : charts) appendChart(h, c);
    h += "</section>\n";
    return h;
}

std::string escapeHtml(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string base64(std::string_view bytes)
{
    static constexpr char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        for (int s : {18, 12, 6, 0}) out += digits[v >> s & 63];
    }
    if (i < bytes.size()) {
        const bool two = i + 1 < bytes.size();
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                           (two ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0u);
        out += digits[v >> 18 & 63];
        out += digits[v >> 12 & 63];
        out += two ? digits[v >> 6 & 63] : '=';
        out += '=';
    }
    return out;
}

std::string reportHead(std::string_view title)
{
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + escapeHtml(title) +
           "</title>\n<style>body{font-family:sans-serif;margin:2em}table{border-collapse:collapse}"
           "th,td{border:1px solid #bbb;padding:3px 8px;text-align:left}td{text-align:right}"
           "figure{display:inline-block;margin:8px}img{max-width:100%}.problems{color:#a40}</style>"
           "</head><body>\n<h1>" +
           escapeHtml(title) + "</h1>\n";
}

std::string reportTail() { return "</body></html>\n"; }

} // namespace vcm
