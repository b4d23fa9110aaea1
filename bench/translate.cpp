// From the Translate click to the translation shown in the result pane,
// through the real window, against the local server answering at once; and
// the throughput of the query encoding.
#include "common.h"
#include "platform/Application.h"
#include "platform/ErrorDisplay.h"
#include "settings/Params.h"
#include "shell/frm_Main.h"
#include "support/TestServer.h"
#include "translate/QueryEncoding.h"

#include <QEventLoop>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>

int main(int argc, char **argv)
{
    Application app(argc, argv);
    ErrorDisplay::setSink([](const QString &text) {
        std::fprintf(stderr, "failure: %s\n", qPrintable(text));
        std::exit(1);
    });
    TestServer server;
    server.setDefaultReply(TestServer::Reply::text(
        R"([[["Con cáo nâu nhanh nhẹn nhảy qua con chó lười.","The quick brown fox jumps over the lazy dog."]],null,"en"])"));

    TfrmMain window;
    window.show();
    QCoreApplication::processEvents();
    SettingsFileName.clear();
    TranslateBaseUrl = server.baseUrl();
    window.SetPaneText(0, QStringLiteral("The quick brown fox jumps over the lazy dog."));
    auto *translate = window.findChild<QPushButton *>(QStringLiteral("btnTrans"));
    QTextDocument *result = window.findChild<QTextEdit *>(QStringLiteral("E2"))->document();

    std::vector<double> times;
    const int runs = 200;
    for (int i = 0; i < runs + 10; ++i) {
        QEventLoop loop;
        QElapsedTimer timer;
        double shown = -1;
        auto connection = QObject::connect(result, &QTextDocument::contentsChanged, [&] {
            if (shown < 0 && result->toPlainText().startsWith(QStringLiteral("Con cáo"))) {
                shown = double(timer.nsecsElapsed()) / 1e6;
                loop.quit();
            }
        });
        timer.start();
        translate->click();
        loop.exec();
        QObject::disconnect(connection);
        while (window.translating())
            QCoreApplication::processEvents();
        if (i >= 10) // the first requests open the connection and warm up
            times.push_back(shown);
    }
    std::sort(times.begin(), times.end());
    std::printf("Translate click to translation shown: median %.2f ms, 90th percentile %.2f ms, max %.2f ms "
                "(%d runs, one kept-alive connection: %d accepted)\n",
                times[times.size() / 2], times[times.size() * 9 / 10], times.back(), runs,
                server.connectionsAccepted());

    // EncodeQueryText on 10 MB of mixed English and Vietnamese text.
    QByteArray input;
    const QByteArray piece = QStringLiteral("Xin chào thế giới! The quick brown fox, 50% off & more. ").toUtf8();
    while (input.size() < 10 * 1000 * 1000)
        input += piece;
    QByteArray encoded;
    const double ms = bench::medianMs(9, [&] { encoded = EncodeQueryText(input); });
    std::printf("EncodeQueryText: %.1f MB in %.2f ms = %.0f MB/s (median of 9), output %.1f MB\n",
                input.size() / 1e6, ms, input.size() / 1e6 / (ms / 1000), encoded.size() / 1e6);
    return 0;
}
