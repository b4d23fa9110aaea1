#include "translate/Request.h"

#include "platform/HttpClient.h"
#include "translate/QueryEncoding.h"

void ConfigureRequest(HttpClient &http, const QString &baseUrl)
{
    http.resetRequest();
    http.addHeader("Connection", "keep-alive");
    http.addHeader("Content-Type", "application/x-www-form-urlencoded");
    http.addHeader("Content-Length", QByteArray()); // the body's length, for a POST
    http.addHeader("Cache-control", "no-cache");
    http.addHeader("Pragma", "no-cache");
    http.addHeader("Host", QByteArray()); // the host of the address
    http.addHeader("Accept", "*/*");
    http.addHeader("Accept-Language", "en");
    http.addHeader("Referer", baseUrl.toUtf8());
    http.addHeader("User-Agent", UserAgent);
}

TranslationRequest BuildTranslationRequest(const QString &baseUrl, const QString &text, const QString &sourceLang,
                                           const QString &targetLang)
{
    const QByteArray q = EncodeQueryText(text.toUtf8());
    const QByteArray sl = sourceLang.toUtf8();
    const QByteArray tl = targetLang.toUtf8();
    TranslationRequest request;
    request.url = baseUrl.toUtf8() + "/translate_a/single";
    if (q.size() < PostThreshold) {
        request.url += "?client=gtx&sl=" + sl + "&tl=" + tl + "&dt=t&q=" + q;
    } else {
        request.post = true;
        request.body = "client=gtx&dt=t&q=" + q + "&sl=" + sl + "&tl=" + tl;
    }
    return request;
}
