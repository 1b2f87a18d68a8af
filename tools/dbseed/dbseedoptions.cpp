#include "dbseedoptions.h"

#include <QCommandLineParser>

DbSeedOptions::Outcome DbSeedOptions::parse(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Registers stimulation boxes in the table BLEDeviceMsg of ./DependFile/DBFile/Rotaflex.db,\n"
        "so the program lists and connects them. Run it in the program's folder (build/run).\n"
        "A new database file gets all its tables first; a MAC that is registered already is left\n"
        "as it is, and no other table is touched."));
    const QCommandLineOption boxOption(QStringLiteral("box"),
        QStringLiteral("Register device number N with MAC as 12 hexadecimal digits; repeatable "
                       "(default: 1=A1B2C3D4E5F6 and 2=A1B2C3D4E5F7, the boxes of rotaflex-fes-sim)."),
        QStringLiteral("N=MAC"));
    const Outcome outcome = parseCommon(parser, {boxOption}, args);
    if (outcome != Outcome::Run)
        return outcome;
    if (parser.isSet(boxOption) && !FesBoxOption::parseAll(parser.values(boxOption), &boxes, &m_error))
        return Outcome::Error;
    return Outcome::Run;
}
