#pragma once

#include <QDialog>

class QLabel;

namespace zt {

class LinkLabel;
struct HostPort;

// "О программе": the program's title, its version and the service's contact data.
class TFAbout final : public QDialog {
    Q_OBJECT
public:
    explicit TFAbout(QWidget* parent = nullptr);

    // The contact data for the configured service host.
    void set_service(const HostPort& host);
    // Shown modally, centred on `centre_on`.
    void ShowAbout(QWidget* centre_on);

    QString site_address() const { return m_site; }
    QString mail_address() const { return m_mail; }

private:
    LinkLabel* LabelSite = nullptr;
    LinkLabel* LabelEmail = nullptr;
    QLabel* LabelTitle = nullptr;
    QLabel* LabelVersion = nullptr;
    QLabel* LabelPhone = nullptr;

    QString m_site;
    QString m_mail;
};

// "1.6 (2010113002)".
QString version_text();

}  // namespace zt
