#include "platform/HttpClient.h"

#include "platform/AppError.h"

#include <QUrl>

#include <curl/curl.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>

namespace {

using Clock = std::chrono::steady_clock;

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Socket failures in the numbering and wording people know from Windows
// programs and their error messages.
QString socketError(int code, const char *description)
{
    return QStringLiteral("Socket Error # %1\r\n%2").arg(code).arg(QLatin1String(description));
}

QString socketErrorFromErrno(long osErrno)
{
    switch (osErrno) {
    case ECONNREFUSED:
        return socketError(10061, "Connection refused.");
    case ECONNRESET:
    case EPIPE:
        return socketError(10054, "Connection reset by peer.");
    case ETIMEDOUT:
        return socketError(10060, "Connection timed out.");
    case EHOSTUNREACH:
        return socketError(10065, "No route to host.");
    case ENETUNREACH:
        return socketError(10051, "Network is unreachable.");
    case ENETDOWN:
        return socketError(10050, "Network is down.");
    case EHOSTDOWN:
        return socketError(10064, "Host is down.");
    case ECONNABORTED:
        return socketError(10053, "Software caused connection abort.");
    default:
        return QString();
    }
}

// Fills the derived headers and renders the list for libcurl. An empty "Host:"
// first turns off libcurl's own Host line, so that ours keeps its place.
curl_slist *headerList(const HttpSettings &settings, const QByteArray &url, const QByteArray *body)
{
    curl_slist *list = curl_slist_append(nullptr, "Host:");
    for (const auto &[name, value] : settings.headers) {
        QByteArray line = name + ": ";
        if (value.isEmpty() && name.compare("Host", Qt::CaseInsensitive) == 0) {
            line += HostHeaderFor(url);
        } else if (value.isEmpty() && name.compare("Content-Length", Qt::CaseInsensitive) == 0) {
            if (!body)
                continue;
            line += QByteArray::number(body->size());
        } else {
            line += value;
        }
        list = curl_slist_append(list, line.constData());
    }
    if (body)
        list = curl_slist_append(list, "Expect:"); // the body goes at once, without asking first
    return list;
}

} // namespace

QByteArray HostHeaderFor(const QByteArray &url)
{
    const QUrl parsed = QUrl::fromEncoded(url);
    QByteArray host = parsed.host(QUrl::FullyEncoded).toUtf8();
    if (host.contains(':'))
        host = '[' + host + ']';
    if (parsed.port() > 0)
        host += ':' + QByteArray::number(parsed.port());
    return host;
}

struct HttpConnection::Impl
{
    CURLM *multi = nullptr;
    CURL *easy = nullptr;
    std::atomic<bool> aborted {false};
    std::mutex wakeLock; // guards multi against a wake-up while it is freed
    QByteArray systemCaFile; // the trust store libcurl uses by default
    QByteArray systemCaPath;

    // State of the request under way.
    QByteArray *out = nullptr;
    qint64 received = 0;
    qint64 limit = 0;
    bool tooLarge = false;
    Clock::time_point lastByte;
    QByteArray statusLine;
    char errorText[CURL_ERROR_SIZE] = {};

    static size_t onBody(char *data, size_t size, size_t count, void *self)
    {
        auto *d = static_cast<Impl *>(self);
        const size_t bytes = size * count;
        d->lastByte = Clock::now();
        d->received += qint64(bytes);
        if (d->received > d->limit) {
            d->tooLarge = true;
            return 0; // ends the transfer
        }
        d->out->append(data, qsizetype(bytes));
        return bytes;
    }

    static size_t onHeader(char *data, size_t size, size_t count, void *self)
    {
        auto *d = static_cast<Impl *>(self);
        const size_t bytes = size * count;
        d->lastByte = Clock::now();
        const QByteArray line(data, qsizetype(bytes));
        if (line.startsWith("HTTP/"))
            d->statusLine = line.trimmed(); // the last one is the answer to the request
        return bytes;
    }
};

HttpClient::HttpClient() : m_connection(std::make_shared<HttpConnection>()) {}

HttpClient::~HttpClient()
{
    m_connection->abort();
}

HttpConnection::HttpConnection() : d(std::make_unique<Impl>())
{
    initCurlOnce();
    d->multi = curl_multi_init();
    d->easy = curl_easy_init();
    // The in-memory cookie engine, on for the handle's whole life.
    if (!d->easy)
        return;
    curl_easy_setopt(d->easy, CURLOPT_COOKIEFILE, "");
    char *path = nullptr;
    if (curl_easy_getinfo(d->easy, CURLINFO_CAINFO, &path) == CURLE_OK && path)
        d->systemCaFile = path;
    path = nullptr;
    if (curl_easy_getinfo(d->easy, CURLINFO_CAPATH, &path) == CURLE_OK && path)
        d->systemCaPath = path;
}

HttpConnection::~HttpConnection()
{
    std::lock_guard<std::mutex> guard(d->wakeLock);
    curl_easy_cleanup(d->easy);
    curl_multi_cleanup(d->multi);
    d->multi = nullptr;
}

void HttpConnection::abort()
{
    d->aborted = true;
    std::lock_guard<std::mutex> guard(d->wakeLock);
    if (d->multi)
        curl_multi_wakeup(d->multi);
}

void HttpConnection::get(const HttpSettings &settings, const QByteArray &url, QByteArray &out)
{
    perform(settings, url, nullptr, out);
}

void HttpConnection::post(const HttpSettings &settings, const QByteArray &url, const QByteArray &body, QByteArray &out)
{
    perform(settings, url, &body, out);
}

void HttpConnection::perform(const HttpSettings &settings, const QByteArray &url, const QByteArray *body,
                             QByteArray &out)
{
    if (d->aborted)
        throw AppError(QStringLiteral("Operation aborted."));
    if (!d->multi || !d->easy)
        throw AppError(QStringLiteral("The HTTP library could not be started."));

    CURL *easy = d->easy;
    // Every option a request depends on is set anew below, so nothing of the
    // previous request carries over but the cookies and the open connections.
    d->out = &out;
    d->received = 0;
    d->limit = settings.maxReplyBytes;
    d->tooLarge = false;
    d->statusLine.clear();
    d->errorText[0] = 0;

    const QByteArray proxy = settings.proxyServer.toUtf8();
    const QByteArray proxyUser = settings.proxyUserName.toUtf8();
    const QByteArray proxyPassword = settings.proxyPassword.toUtf8();
    const QByteArray caFile = settings.caFile.toLocal8Bit();
    curl_slist *headers = headerList(settings, url, body);

    curl_easy_setopt(easy, CURLOPT_URL, url.constData());
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, d->errorText);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Impl::onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, d.get());
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Impl::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, d.get());
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, long(settings.connectTimeoutMs));
#if LIBCURL_VERSION_NUM >= 0x075700
    // A name lookup runs on a thread of the library's own. Without this, an
    // abort or a time-out waits until the lookup ends, however long the name
    // server takes; with it, the lookup is left to end by itself.
    curl_easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
#endif
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    if (body) {
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body->size()));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body->constData());
    } else {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    }
    // The proxy is only what the settings say: an empty one means a direct
    // connection, whatever the environment holds. Credentials go only in
    // answer to the proxy's challenge.
    curl_easy_setopt(easy, CURLOPT_PROXY, proxy.constData());
    curl_easy_setopt(easy, CURLOPT_PROXYPORT, long(settings.proxyPort));
    curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, proxyUser.constData());
    curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, proxyPassword.constData());
    curl_easy_setopt(easy, CURLOPT_PROXYAUTH, long(CURLAUTH_ANY));
    // The user's text goes only to a server that proves who it is.
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(easy, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2));
    if (caFile.isEmpty()) {
        curl_easy_setopt(easy, CURLOPT_CAINFO, d->systemCaFile.isEmpty() ? nullptr : d->systemCaFile.constData());
        curl_easy_setopt(easy, CURLOPT_CAPATH, d->systemCaPath.isEmpty() ? nullptr : d->systemCaPath.constData());
    } else {
        curl_easy_setopt(easy, CURLOPT_CAINFO, caFile.constData());
        curl_easy_setopt(easy, CURLOPT_CAPATH, nullptr);
    }

    CURLcode result = CURLE_OK;
    bool idleTimeout = false;
    curl_multi_add_handle(d->multi, easy);
    d->lastByte = Clock::now();
    for (;;) {
        int running = 0;
        if (curl_multi_perform(d->multi, &running) != CURLM_OK)
            break;
        if (running == 0)
            break;
        if (d->aborted)
            break;
        if (Clock::now() - d->lastByte > std::chrono::milliseconds(settings.idleTimeoutMs)) {
            idleTimeout = true;
            break;
        }
        curl_multi_poll(d->multi, nullptr, 0, 100, nullptr);
    }
    bool finished = false;
    int queued = 0;
    while (CURLMsg *message = curl_multi_info_read(d->multi, &queued)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
            result = message->data.result;
            finished = true;
        }
    }
    long status = 0;
    long connectStatus = 0;
    long osErrno = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_getinfo(easy, CURLINFO_HTTP_CONNECTCODE, &connectStatus);
    curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &osErrno);
    curl_multi_remove_handle(d->multi, easy);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, nullptr);
    curl_slist_free_all(headers);
    d->out = nullptr;

    if (d->aborted)
        throw AppError(QStringLiteral("Operation aborted."));
    if (idleTimeout || (!finished && result == CURLE_OK))
        throw AppError(socketError(10060, "Connection timed out."));

    QString failure;
    switch (result) {
    case CURLE_OK:
        if (status >= 300) {
            out.clear();
            failure = QString::fromLatin1(d->statusLine);
        }
        break;
    case CURLE_WRITE_ERROR:
        if (d->tooLarge)
            failure = QStringLiteral("Reply too large.");
        break;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        failure = socketError(11001, "Host not found.");
        break;
    case CURLE_OPERATION_TIMEDOUT:
        failure = socketError(10060, "Connection timed out.");
        break;
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        failure = QStringLiteral("Connection Closed Gracefully.");
        break;
    case CURLE_COULDNT_CONNECT:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
        if (connectStatus >= 300 && !d->statusLine.isEmpty()) {
            failure = QString::fromLatin1(d->statusLine); // the proxy refused the tunnel
            out.clear();
        } else {
            failure = socketErrorFromErrno(osErrno);
            if (failure.isEmpty() && osErrno == 0 && result == CURLE_RECV_ERROR)
                failure = QStringLiteral("Connection Closed Gracefully.");
        }
        break;
    default:
        break;
    }
    if (result != CURLE_OK && failure.isEmpty()) {
        // The library's own description, as precise as it has it.
        failure = QString::fromUtf8(d->errorText[0] ? d->errorText : curl_easy_strerror(result));
    }
    if (!failure.isEmpty())
        throw AppError(failure);
}
