#include "suite/recyclebin/shred_choice.h"

namespace trashwipe {

ShredAlgorithmId MiddleButtonAlgorithm(ShredAlgorithmId stored)
{
    if (stored == kFirstButtonAlgorithm || stored == kLastButtonAlgorithm)
        return kMiddleFallbackAlgorithm;
    return stored;
}

MethodButton InitialMethodButton(ShredAlgorithmId stored)
{
    if (stored == kFirstButtonAlgorithm)
        return MethodButton::First;
    if (stored == kLastButtonAlgorithm)
        return MethodButton::Last;
    return MethodButton::Middle;
}

ShredAlgorithmId ChosenAlgorithm(MethodButton checked, ShredAlgorithmId stored)
{
    switch (checked) {
        case MethodButton::First:
            return kFirstButtonAlgorithm;
        case MethodButton::Last:
            return kLastButtonAlgorithm;
        case MethodButton::Middle:
            break;
    }
    return MiddleButtonAlgorithm(stored);
}

}  // namespace trashwipe
