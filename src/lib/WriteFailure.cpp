#include "lib/WriteFailure.h"

#include <QFileDevice>

QString WriteFailure::reason(const QFileDevice& file, int systemError)
{
    return systemError != 0 ? qt_error_string(systemError) : file.errorString();
}
