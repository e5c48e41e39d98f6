#include "features/radio_information.h"

#include "codeplug/bands.h"

namespace n27::features {

namespace {

Setting shown(std::string key, std::string control, Tr label, std::string RadioInformation::*member,
              int maxLength) {
  Setting s{std::move(key), std::move(control), label, SettingKind::Text, {}, {}};
  s.view = [member, maxLength](const Workspace &w) { return TextView(w.radioInfo.*member, maxLength); };
  return s;  // no `choose`: the window only shows the record
}

std::vector<Setting> radioInfoTable() {
  using R = RadioInformation;
  std::vector<Setting> t;
  Setting type{"radiotype", "Combo1_0", Tr{"Radio Type", "机型"}, SettingKind::List, {}, {}};
  // The model name of the stored model code: "N27PR" is the "N27".
  type.view = [](const Workspace &w) {
    return ListView({ModelDisplayName(w.radioInfo.radioType)}, 0);
  };
  t.push_back(type);
  Setting band{"band", "Combo1_1", Tr{"Frequency", "频段"}, SettingKind::List, {}, {}};
  band.view = [](const Workspace &w) { return RadioBandView(w.radioInfo.bandCode); };
  t.push_back(band);
  t.push_back(shown("areacode", "Text1_0", Tr{"Area Code", "销售区号"}, &R::areaCode, 4));
  t.push_back(shown("serialnumber", "Text1_1", Tr{"Serial Number", "序列号"}, &R::serialNumber, 16));
  t.push_back(shown("productiondate", "Text1_2", Tr{"Producted Date", "出厂日期"}, &R::productionDate, 16));
  t.push_back(shown("maintenancedate", "Text1_3", Tr{"Maintained Date", "维修日期"}, &R::maintenanceDate, 16));
  t.push_back(shown("maintenancereason", "Text1_4", Tr{"Maintained", "维修原因"}, &R::maintenanceReason, 96));
  // The record's version text, else the firmware version the radio reported in the last
  // read or write.
  Setting version = shown("version", "Text1_5", Tr{"Version", "固件版本"}, &R::version, 0);
  version.view = [](const Workspace &w) {
    return TextView(w.radioInfo.version.empty() ? w.firmwareVersion : w.radioInfo.version, 0);
  };
  t.push_back(version);
  t.push_back(shown("manufacturecode", "Text1_6", Tr{"Manufacture Code", "生产批号"}, &R::manufactureCode, 8));
  t.push_back(shown("usercode", "Text1_7", Tr{"User Code", "客户代码"}, &R::userCode, 4));
  t.push_back(shown("dealercode", "Text1_8", Tr{"Dealer Code", "经销商代码"}, &R::dealerCode, 16));
  t.push_back(shown("stockdate", "Text1_9", Tr{"Stock Date", "入库时间"}, &R::stockDate, 16));
  t.push_back(shown("selldate", "Text1_10", Tr{"Sell Date", "销售时间"}, &R::sellDate, 16));
  t.push_back(shown("seller", "Text1_11", Tr{"Seller", "经手人"}, &R::seller, 16));
  return t;
}

}  // namespace

SettingView RadioBandView(int bandCode) {
  return ListView({kBand400, kBand136}, bandCode);
}

const Area &RadioInformationArea() {
  static const Area area{"radioinfo", "FrmEMG", Tr{"Embedded Message", "嵌入信息"}, radioInfoTable(),
                         Tr{"Local Message", "本机信息"}};
  return area;
}

}  // namespace n27::features
