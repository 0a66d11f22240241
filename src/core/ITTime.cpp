#include "ITTime.h"

#include "NumberText.h"

#include <cmath>

namespace quillery {

ITTime::ITTime(double timeInterval)
    : data(toInt32(std::floor(timeInterval))),
      // The remainder truncates, so the milliseconds of a negative time are negative too.
      ms(toInt32(std::floor(timeInterval * 1000)) % 1000) {}

} // namespace quillery
