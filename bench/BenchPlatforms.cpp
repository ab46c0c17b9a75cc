#include "BenchPlatforms.h"

QStringList benchPlatforms()
{
    QStringList platforms =
        qEnvironmentVariable("TARNWAVE_BENCH_PLATFORMS").split(u' ', Qt::SkipEmptyParts);
    if (platforms.isEmpty())
        platforms << qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen"));
    return platforms;
}

QProcessEnvironment environmentOn(const QString &platform)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    return environment;
}
