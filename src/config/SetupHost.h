#pragma once
// What the setup and save-folder dialogs ask of the main window, so that they need not
// know it: close the open log set, apply a unit choice (the caller has already set the
// field in MonitorSettings) and write the settings file.
namespace vcm {

class SetupHost {
public:
    virtual ~SetupHost() = default;
    virtual void WriteCloseCSVFile() = 0;
    virtual void m_Metric_Click() = 0;
    virtual void m_USA_Click() = 0;
    virtual void m_Celsius_Click() = 0;
    virtual void m_Fahrenheit_Click() = 0;
    virtual void WriteSettings() = 0;
};

} // namespace vcm
