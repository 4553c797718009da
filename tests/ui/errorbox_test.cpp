#include "geardata/apperror.h"
#include "ui/errorbox.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <stdexcept>

TEST(ErrorBox, PeriodRule)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("'18.0' は整数ではありません"), QStringLiteral("'18.0' は整数ではありません.")},
        {QStringLiteral("ends in a blank "), QStringLiteral("ends in a blank ")},
        {QStringLiteral("done."), QStringLiteral("done.")},
        {QStringLiteral("what!"), QStringLiteral("what!")},
        {QStringLiteral("a-b-"), QStringLiteral("a-b-")},
        {QStringLiteral("x,"), QStringLiteral("x,")},
        {QStringLiteral("slash/"), QStringLiteral("slash/.")},
        {QStringLiteral("digit 0"), QStringLiteral("digit 0.")},
        {QStringLiteral("colon:"), QStringLiteral("colon:.")},
        {QString(), QString()},
    };
    for (const auto& [message, shown] : cases)
        EXPECT_EQ(ErrorBoxText(message), shown) << message.toStdString();
}

TEST(ErrorBox, GuardShowsEveryFailureOnceAndSwallowsIt)
{
    QStringList shown;
    SetErrorBoxRecorder([&](const QString& text) { shown << text; });
    RunCommand(nullptr, [] { throw AppError("ファイル x は開けません"); });
    RunCommand(nullptr, [] { throw std::runtime_error("other"); });
    RunCommand(nullptr, [] {});
    SetErrorBoxRecorder({});
    EXPECT_EQ(shown, (QStringList{QStringLiteral("ファイル x は開けません."), QStringLiteral("other.")}));
}
