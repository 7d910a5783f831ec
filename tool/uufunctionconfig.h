#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class UUConfigFile;

// The front end through which the program reads its toolkit configuration:
// on the process-wide UUConfigFile of the name (shared), or on a fresh one
// for each call, which reads the file as it is at that moment.
class UUFunctionConfig
{
public:
    UUFunctionConfig(const QString &fileName, bool shared);
    virtual ~UUFunctionConfig();

    QString getValue(const QString &section, const QString &key, const QString &defaultValue);
    void setValue(const QString &section, const QString &key, const QString &value);
    QList<QStringList> getNetworkConfigs(const QString &mccmnc);
    QList<QStringList> readNetworkConfigs();
    QList<QStringList> readUSSDConfigs();

private:
    template <typename Operation>
    auto onFile(Operation operation) const;

    QString fileName;
    bool shared;
};
