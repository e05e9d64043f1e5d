// Shapes and device codes of designed cells.

#include "levels/level_design.h"

#include "levels/side_masks.h"

bool isComputerCode(int device)
{
    return device == DeviceComputer || device == DeviceComputerAlt || device == DeviceVirusComputer;
}

bool isDeviceCode(int device)
{
    return isComputerCode(device) || device == DeviceServerTop || device == DeviceServerBottom ||
           device == DeviceFaxModem;
}

Shape shapeOf(const DesignCell& cell)
{
    const int count = sideCount(cell.sides);
    if (count == 0) {
        const bool server = cell.device == DeviceServerTop || cell.device == DeviceServerBottom;
        return server ? Shape::ServerPicture : Shape::Floor;
    }
    if (count == 1) {
        return Shape::End;
    }
    if (count == 2) {
        return cell.sides == 5 || cell.sides == 10 ? Shape::Straight : Shape::Corner;
    }
    return count == 3 ? Shape::Tee : Shape::Cross;
}
