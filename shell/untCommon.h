#pragma once

#include <QString>

// "Copyright © 2016-<this year> Lexorvia", with the year the program runs in.
QString CopyrightNotice();
