#pragma once

void onDisplay();
