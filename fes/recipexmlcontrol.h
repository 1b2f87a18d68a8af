#pragma once

#include <QList>
#include <QString>

// One muscle of a stimulation recipe: the crank-angle window in which it is stimulated.
struct ST_RecipeParam
{
    int ID = 0;
    QString name;
    int startAngle = 0;
    int stopAngle = 0;
};

// Reads the forward and reverse recipe files once; entry n serves muscle n (left) and n + 15 (right).
class RecipeXmlControl
{
public:
    static constexpr const char *kForwardFile = "./DependFile/ConfigFile/FESRecipeList.xml";
    static constexpr const char *kReverseFile = "./DependFile/ConfigFile/FESRecipeListReverse.xml";

    RecipeXmlControl();

    void readRecipeXml();
    QList<ST_RecipeParam> getRecipeList() const;
    QList<ST_RecipeParam> getRecipeReverseList() const;

private:
    QList<ST_RecipeParam> m_recipeList;
    QList<ST_RecipeParam> m_recipeReverseList;
};
