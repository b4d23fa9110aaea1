#pragma once

#include <QString>

// What a request needs to know of the connection: the proxy, if any. A
// request copies these when it starts, so a change made while it is under way
// reaches the next request only.
struct HttpSettings
{
    QString proxyServer; // empty: connect directly
    int proxyPort = 0;
    QString proxyUserName;
    QString proxyPassword;
};

// The translation service connection of the main window. It lives as long as
// the window and holds the settings that every request starts from.
class HttpClient
{
public:
    const HttpSettings &settings() const { return m_settings; }

    void setProxyServer(const QString &server) { m_settings.proxyServer = server; }
    void setProxyPort(int port) { m_settings.proxyPort = port; }
    void setProxyUserName(const QString &userName) { m_settings.proxyUserName = userName; }
    void setProxyPassword(const QString &password) { m_settings.proxyPassword = password; }

private:
    HttpSettings m_settings;
};
