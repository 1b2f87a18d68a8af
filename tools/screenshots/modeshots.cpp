#include "modeshots.h"

#include "training/armorleg.h"

#include <QPushButton>
#include <QSize>

bool saveModePages(const LanguageShots &inBothLanguages, const ShotSaver &save)
{
    const QSize page(1920, 980);
    return inBothLanguages([&](QLatin1String language) {
        ArmOrLeg cycling;
        cycling.resize(page);
        cycling.show(); // shown first: showing sets the default choice
        cycling.findChild<QPushButton *>(QStringLiteral("verticalUpLimp_Button"))->click();
        cycling.findChild<QPushButton *>(QStringLiteral("assistant1_Button"))->click();
        bool ok = save(&cycling, page, QStringLiteral("mode-page-cycling-%1").arg(language));

        ArmOrLeg fes;
        fes.setFesMode(true);
        ok &= save(&fes, page, QStringLiteral("mode-page-fes-%1").arg(language));
        return ok;
    });
}
