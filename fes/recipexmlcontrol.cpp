#include "fes/recipexmlcontrol.h"

#include <QDebug>
#include <QDomDocument>
#include <QFile>

namespace {

enum class ReadResult { Read, OpenFailed, ParseFailed };

int integer(const QDomElement &element, const QString &name)
{
    bool ok = false;
    const int value = element.attribute(name).toInt(&ok, 10);
    return ok ? value : 0;
}

ReadResult readList(const QString &path, const char *parseLabel, QList<ST_RecipeParam> &list)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReadResult::OpenFailed;
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(&file, &message, &line, &column)) {
        qDebug().noquote() << QLatin1String(parseLabel) << message << line << column;
        file.close();
        return ReadResult::ParseFailed;
    }
    file.close();
    for (QDomNode node = document.documentElement().firstChild(); !node.isNull();
         node = node.nextSibling()) {
        if (!node.isElement())
            continue;
        const QDomElement element = node.toElement();
        ST_RecipeParam recipe;
        recipe.ID = integer(element, QStringLiteral("ID"));
        recipe.name = element.attribute(QStringLiteral("name"));
        recipe.startAngle = integer(element, QStringLiteral("startAngle"));
        recipe.stopAngle = integer(element, QStringLiteral("stopAngle"));
        list.append(recipe);
    }
    return ReadResult::Read;
}

} // namespace

RecipeXmlControl::RecipeXmlControl()
{
    readRecipeXml();
}

void RecipeXmlControl::readRecipeXml()
{
    m_recipeList.clear();
    m_recipeReverseList.clear();

    switch (readList(QString::fromLatin1(kForwardFile), "gameList error", m_recipeList)) {
    case ReadResult::OpenFailed:
        qDebug().noquote() << QStringLiteral("read FESRecipeList failed");
        return;
    case ReadResult::ParseFailed:
        return;
    case ReadResult::Read:
        qDebug() << "recipeParamList.count()" << m_recipeList.count();
        break;
    }

    switch (readList(QString::fromLatin1(kReverseFile), "gameList2 error", m_recipeReverseList)) {
    case ReadResult::OpenFailed:
        qDebug().noquote() << QStringLiteral("read FESRecipeListReverse failed");
        return;
    case ReadResult::ParseFailed:
        return;
    case ReadResult::Read:
        break;
    }
    qDebug() << "recipeParamReverseList.count()" << m_recipeReverseList.count();
}

QList<ST_RecipeParam> RecipeXmlControl::getRecipeList() const
{
    return m_recipeList;
}

QList<ST_RecipeParam> RecipeXmlControl::getRecipeReverseList() const
{
    return m_recipeReverseList;
}
