#include "tool/uufunctionconfig.h"

#include "tool/uuconfigfile.h"

UUFunctionConfig::UUFunctionConfig(const QString &fileName, bool shared)
    : fileName(fileName)
    , shared(shared)
{
}

UUFunctionConfig::~UUFunctionConfig() = default;

template <typename Operation>
auto UUFunctionConfig::onFile(Operation operation) const
{
    if (shared)
        return operation(*UUConfigFile::instance(fileName));
    UUConfigFile file(fileName);
    return operation(file);
}

QString UUFunctionConfig::getValue(const QString &section, const QString &key, const QString &defaultValue)
{
    return onFile([&](UUConfigFile &file) { return file.getValue(section, key, defaultValue); });
}

void UUFunctionConfig::setValue(const QString &section, const QString &key, const QString &value)
{
    onFile([&](UUConfigFile &file) { file.setValue(section, key, value); });
}

QList<QStringList> UUFunctionConfig::getNetworkConfigs(const QString &mccmnc)
{
    return onFile([&](UUConfigFile &file) { return file.getNetworkConfigs(mccmnc); });
}

QList<QStringList> UUFunctionConfig::readNetworkConfigs()
{
    return onFile([](UUConfigFile &file) { return file.readNetworkConfigs(); });
}

QList<QStringList> UUFunctionConfig::readUSSDConfigs()
{
    return onFile([](UUConfigFile &file) { return file.readUSSDConfigs(); });
}
