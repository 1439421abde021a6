#include "cass_xdata.h"

#include "routines/routines.h"
#include "cad/model/entity.h"

namespace kelvor::cass {

std::optional<QString> featureCode(const cad::XData& data)
{
    if (data.size() < 2)
        return std::nullopt;
    return data[1].value.toString();
}

std::optional<QString> landClassCode(const cad::XData& data)
{
    if (data.size() < 3)
        return std::nullopt;
    return data[2].value.toString();
}

std::optional<QString> featureCode(const cad::Entity& entity)
{
    return featureCode(entity.GetXData(QString()));
}

std::optional<double> numericCode(const std::optional<QString>& code)
{
    if (!code)
        return std::nullopt;
    return ParseNumber(*code);
}

cad::XData cassRecord(const QString& app, const QString& code)
{
    return {cad::xstr(1001, app), cad::xstr(1000, code)};
}

void writeFeatureCode(cad::Entity& entity, const QString& app, const QString& code)
{
    entity.SetXData(cassRecord(app, code));
}

} // namespace kelvor::cass
