#include "shell/untCommon.h"

#include <QDate>

QString CopyrightNotice()
{
    return QStringLiteral("Copyright © 2016-%1 Lexorvia").arg(QDate::currentDate().year());
}
