// SPDX-License-Identifier: MIT
#pragma once

// True when Qt's image writers can encode PNG, the screenshot's default format. The main
// window enables its Screenshot button by this.
bool IsImageEncoderAvailable();
