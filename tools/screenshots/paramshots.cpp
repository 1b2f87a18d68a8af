#include "paramshots.h"

#include "training/advanceddialog.h"
#include "training/paramtipsdialog.h"
#include "training/trainingparamsetting.h"

#include <QComboBox>
#include <QSize>

bool saveParameterPages(const LanguageShots &inBothLanguages, const ShotSaver &save)
{
    const QSize page(1920, 980);
    const QSize screen(1920, 1080);
    return inBothLanguages([&](QLatin1String language) {
        TrainingParamSetting defaults;
        bool ok = save(&defaults, page, QStringLiteral("params-page-%1").arg(language));

        TrainingParamSetting received;
        ST_BicycleParam prescription;
        prescription.spasmProtect = 0;
        prescription.trainDirection = 0;
        prescription.trainSpeed = 25;
        prescription.trainResistance = 12;
        prescription.trainTime = 45;
        received.slotBicycleParamChanged(prescription);
        ok &= save(&received, page, QStringLiteral("params-page-received-%1").arg(language));

        // The over-30 question over the page, as a user's choice of 35 r/min opens it.
        received.resize(page);
        received.show();
        received.findChild<QComboBox *>(QStringLiteral("speed1_ComboBox"))->setCurrentText(QStringLiteral("35"));
        if (ParamTipsDialog *question = received.speedQuestion())
            ok &= save(question, screen, QStringLiteral("params-speed-question-%1").arg(language));
        received.hide();

        AdvancedDialog advanced;
        ok &= save(&advanced, screen, QStringLiteral("dialog-advanced-%1").arg(language));
        return ok;
    });
}
