#include "sim/ball.h"

Ball::~Ball() = default;
