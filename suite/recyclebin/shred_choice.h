// The shred method of a run: which radio button the stored method checks, what the middle button
// stands for, and the method the three buttons choose.
#pragma once

namespace trashwipe {

using ShredAlgorithmId = int;

inline constexpr ShredAlgorithmId kFirstButtonAlgorithm = 0;
inline constexpr ShredAlgorithmId kLastButtonAlgorithm = 8;
inline constexpr ShredAlgorithmId kMiddleFallbackAlgorithm = 12;

enum class MethodButton
{
    First,
    Middle,
    Last
};

// The middle button stands for the stored method unless another button already offers it.
ShredAlgorithmId MiddleButtonAlgorithm(ShredAlgorithmId stored);
// The button checked when the dialog opens.
MethodButton InitialMethodButton(ShredAlgorithmId stored);
// The method of the checked button.
ShredAlgorithmId ChosenAlgorithm(MethodButton checked, ShredAlgorithmId stored);

}  // namespace trashwipe
