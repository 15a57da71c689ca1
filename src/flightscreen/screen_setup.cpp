#include "flightscreen/screen_setup.h"

#include "platform/runtime/text.h"

namespace zarv::flightscreen {

std::string HangarTag(const std::string& tag, bool light, aircraft::EngineKind engineType, double engineRating) {
  if (light) return "D";
  if (Len(tag) <= 3) return tag;
  if (engineRating < 9000) return "D";
  if (engineType == aircraft::EngineKind::Piston) return "PcD";
  if (engineType == aircraft::EngineKind::Jet || engineType == aircraft::EngineKind::Rocket) return "JcD";
  return tag;
}

std::string KeyHelpText(double afterburnerMax, aircraft::EngineKind engineType, int16_t tvcCapability) {
  const std::string crlf = "\r\n";
  std::string t;
  if (afterburnerMax > 1) t += "Qキー：After Burnerｱｯﾌﾟ" + crlf;
  t += "Aキー：ｽﾛｯﾄﾙｱｯﾌﾟ";
  if (afterburnerMax > 1) t += " &" + crlf + "    After Burner ﾀﾞｳﾝ";
  t += crlf;
  t += "Zキー：ｽﾛｯﾄﾙﾀﾞｳﾝ" + crlf;
  t += "Iキー：CAS On/ Off " + crlf;
  t += "Rキー：Flap ｱｯﾌﾟ" + crlf;
  t += "Fキー：Flap ﾀﾞｳﾝ" + crlf;
  t += "Gキー：Gear ｱｯﾌﾟ/ﾀﾞｳﾝ" + crlf;
  t += "Dキー：Fuel Dump " + crlf;
  t += "Pキー：ﾋﾟｯﾁ固定On/Off" + crlf;
  if (engineType == aircraft::EngineKind::Piston) t += "Wキー：調速機 ｱｯﾌﾟ" + crlf + "Sキー：調速機 ﾀﾞｳﾝ" + crlf;
  if (tvcCapability > 0) t += "Vキー：TVC On/ Off ";
  return t;
}

}  // namespace zarv::flightscreen
