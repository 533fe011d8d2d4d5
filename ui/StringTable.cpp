#include "ui/StringTable.h"

#include <QHash>

namespace {

const QHash<int, QString>& Table() {
    static const QHash<int, QString> table = {
        {154, QStringLiteral("Wizard")},
        {155, QStringLiteral("Product information")},
        {156, QStringLiteral("Setup Files")},
        {157, QStringLiteral("Registration Service")},
        {159, QStringLiteral("Please specify some basic information about your product.")},
        {161, QStringLiteral("Please specify program setup file and output directory.")},
        {162,
         QStringLiteral("Information about the primary registration service for your product.")},
        {173, QStringLiteral("'%s' is the product setup file, it can not be used by affiliate. "
                             "Please choose another one.")},
        {175, QStringLiteral("File '%s' is being used, please choose another one.")},
        // Help texts of dialog controls, under the control identifiers.
        {1023, QStringLiteral("Provides a space for you to specify title of the product.")},
        {1024, QStringLiteral("Specifies setup file of the product . This setup file contains the "
                              "program that calls API functions to retrieve affiliate puchase "
                              "link.")},
        {1026, QStringLiteral("Specifies version number of the product.")},
        {1029, QStringLiteral("Specifies your product web page.")},
        {1030, QStringLiteral("Provides a place for you to specify the default directory for "
                              "affiliate setup files. \nThe directory can be overided by "
                              "configuring affiliate settings individually.  ")},
        {1035, QStringLiteral("The path and name of executable setup file that will be built for "
                              "the affiliate.")},
        {1037,
         QStringLiteral("Specifies Registration services you are using to sell your product.")},
    };
    return table;
}

} // namespace

QString VkLoadString(int id) {
    return Table().value(id);
}

QString VkFormat(const QString& format, const QString& arg) {
    const qsizetype at = format.indexOf(QStringLiteral("%s"));
    if (at < 0)
        return format;
    return format.left(at) + arg + format.mid(at + 2);
}
