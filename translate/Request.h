#pragma once

#include <QByteArray>
#include <QString>

class HttpClient;

// The encoded text below this length goes by GET, from it on by form POST.
inline constexpr int PostThreshold = 1960;

inline constexpr char UserAgent[] =
    "Mozilla/5.0 (Windows; U; Windows NT 6.1; en-US) AppleWebKit/534.13 (KHTML, like Gecko) "
    "Chrome/9.0.597.67 Safari/534";

// Prepares the client for the next request: back to no request headers, then
// the service's headers in the order they are sent.
void ConfigureRequest(HttpClient &http, const QString &baseUrl);

// One request of the translation service for a text.
struct TranslationRequest
{
    bool post = false;
    QByteArray url;  // with the query for a GET
    QByteArray body; // the form fields for a POST
};

TranslationRequest BuildTranslationRequest(const QString &baseUrl, const QString &text, const QString &sourceLang,
                                           const QString &targetLang);
