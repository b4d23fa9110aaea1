#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <memory>

// What a request starts from: the headers, the proxy, the trust store and the
// waiting limits. A request copies these when it starts, so a change made
// while it is under way reaches the next request only.
struct HttpSettings
{
    // Request headers in the order they are sent. "Host" and "Content-Length"
    // with an empty value stand for the values the client derives when it
    // sends (the address's host, the body's length; no Content-Length without
    // a body). The cookie engine adds "Cookie" itself.
    QList<QPair<QByteArray, QByteArray>> headers;

    QString proxyServer; // empty: connect directly
    int proxyPort = 0;
    QString proxyUserName;
    QString proxyPassword;

    QString caFile;                // certificates to trust; empty: the system's
    int connectTimeoutMs = 20000;  // giving up on a connection attempt
    int idleTimeoutMs = 30000;     // giving up when no byte arrives for so long
    qint64 maxReplyBytes = qint64(32) << 20;
};

// The value of the derived "Host" header for an address: its host (an IPv6
// address in brackets, a name in its ASCII form) and the port when the
// address names one.
QByteArray HostHeaderFor(const QByteArray &url);

class HttpConnection;

// The translation service connection of the main window. It lives as long as
// the window; its connection (cookies, open connections) serves one request
// at a time, on whatever thread runs that request.
class HttpClient
{
public:
    HttpClient();
    ~HttpClient(); // ends a request still under way

    HttpClient(const HttpClient &) = delete;
    HttpClient &operator=(const HttpClient &) = delete;

    const HttpSettings &settings() const { return m_settings; }

    void setProxyServer(const QString &server) { m_settings.proxyServer = server; }
    void setProxyPort(int port) { m_settings.proxyPort = port; }
    void setProxyUserName(const QString &userName) { m_settings.proxyUserName = userName; }
    void setProxyPassword(const QString &password) { m_settings.proxyPassword = password; }

    // Back to no request headers (the proxy and the limits stay).
    void resetRequest() { m_settings.headers.clear(); }
    void addHeader(const QByteArray &name, const QByteArray &value) { m_settings.headers.append({name, value}); }

    void setCaFile(const QString &path) { m_settings.caFile = path; }
    void setTimeouts(int connectMs, int idleMs)
    {
        m_settings.connectTimeoutMs = connectMs;
        m_settings.idleTimeoutMs = idleMs;
    }

    const std::shared_ptr<HttpConnection> &connection() const { return m_connection; }

private:
    HttpSettings m_settings;
    std::shared_ptr<HttpConnection> m_connection;
};

// The open side of the client: libcurl's handles with their cookie store and
// connection cache. Shared by the client and the request under way, so either
// may go first.
class HttpConnection
{
public:
    HttpConnection();
    ~HttpConnection();

    HttpConnection(const HttpConnection &) = delete;
    HttpConnection &operator=(const HttpConnection &) = delete;

    // Sends a GET (no body) or a POST of the body and appends the reply body
    // to `out`. Throws AppError with the failure text when it fails: a socket
    // error as "Socket Error # N" CR LF description, an early close as
    // "Connection Closed Gracefully.", an error or redirect status as its
    // status line ("HTTP/1.1 403 Forbidden"); bytes of the body that arrived
    // before a connection failure stay in `out`.
    void get(const HttpSettings &settings, const QByteArray &url, QByteArray &out);
    void post(const HttpSettings &settings, const QByteArray &url, const QByteArray &body, QByteArray &out);

    // Ends the request under way (from any thread) and refuses new ones.
    void abort();

private:
    struct Impl;
    void perform(const HttpSettings &settings, const QByteArray &url, const QByteArray *body, QByteArray &out);
    std::unique_ptr<Impl> d;
};
