#include "cyclingscene.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTimer>
#include <QtMath>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kPixelsPerMetre = 55.0;  // at the design height of 980 pixels
constexpr double kTopSpeed = 40.0;        // km/h at which the rider sits furthest forward
constexpr double kHorizon = 0.60;         // fractions of the height
constexpr double kGrassTop = 0.72;
constexpr double kRoadTop = 0.76;
constexpr double kRoadBottom = 0.90;
constexpr double kWheelGround = 0.845;

const QColor kFrame(47, 127, 134);
const QColor kTyre(52, 58, 64);
const QColor kShirt(224, 122, 95);
const QColor kShorts(61, 64, 91);
const QColor kSkin(242, 204, 143);
const QColor kHelmet(129, 178, 154);
const QColor kLeftSide(91, 143, 185);
const QColor kRightSide(230, 161, 90);
const QColor kCard(255, 255, 255, 205);
const QColor kInk(45, 52, 60);

QPointF onCircle(const QPointF &centre, double radius, double degrees)
{
    const double radians = qDegreesToRadians(degrees);
    return centre + QPointF(radius * std::sin(radians), -radius * std::cos(radians));
}

// The knee of a leg from hip to foot, bent forwards (towards +x).
QPointF knee(const QPointF &hip, const QPointF &foot, double thigh, double shin)
{
    const QPointF delta = foot - hip;
    const double reach = std::clamp(std::hypot(delta.x(), delta.y()), 1.0, thigh + shin - 0.5);
    const double toFoot = std::atan2(delta.y(), delta.x());
    const double bend = std::acos(std::clamp((thigh * thigh + reach * reach - shin * shin) / (2 * thigh * reach), -1.0, 1.0));
    const QPointF a = hip + QPointF(thigh * std::cos(toFoot - bend), thigh * std::sin(toFoot - bend));
    const QPointF b = hip + QPointF(thigh * std::cos(toFoot + bend), thigh * std::sin(toFoot + bend));
    return a.x() > b.x() ? a : b;
}

QFont sized(double pixels, bool bold = false)
{
    QFont font;
    font.setPixelSize(std::max(6, int(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

} // namespace

CyclingScene::CyclingScene(QWidget *parent) : QWidget(parent), m_frameTimer(new QTimer(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setTheme(0);
    m_frameTimer->setInterval(kFrameIntervalMs);
    connect(m_frameTimer, &QTimer::timeout, this, &CyclingScene::frame);
    m_frameTimer->start();
    m_clock.start();
}

void CyclingScene::setTheme(int index)
{
    static const Palette palettes[] = {
        // morning
        {QColor(142, 197, 232), QColor(230, 242, 245), QColor(255, 243, 196), QColor(169, 207, 180),
         QColor(127, 180, 143), QColor(147, 196, 125), QColor(112, 166, 98), QColor(86, 140, 96), QColor(107, 112, 117)},
        // midday
        {QColor(111, 182, 230), QColor(216, 238, 247), QColor(255, 250, 225), QColor(156, 201, 168),
         QColor(111, 168, 131), QColor(140, 192, 132), QColor(104, 160, 100), QColor(76, 132, 90), QColor(100, 106, 112)},
        // afternoon
        {QColor(155, 183, 217), QColor(246, 211, 176), QColor(255, 212, 154), QColor(181, 184, 160),
         QColor(143, 164, 127), QColor(160, 182, 120), QColor(126, 150, 96), QColor(104, 124, 82), QColor(112, 110, 112)},
        // evening
        {QColor(65, 87, 122), QColor(200, 162, 168), QColor(242, 239, 224), QColor(93, 111, 122),
         QColor(75, 95, 90), QColor(86, 115, 90), QColor(62, 88, 70), QColor(52, 76, 64), QColor(84, 88, 96)},
    };
    m_palette = palettes[std::clamp(index, 0, 3)];
    update();
}

void CyclingScene::setPhase(Phase phase)
{
    m_phase = phase;
    // A paused scene stands still: no frames until it runs again.
    if (phase == Phase::Paused) {
        m_frameTimer->stop();
    } else if (!m_frameTimer->isActive()) {
        m_clock.restart();
        m_frameTimer->start();
    }
    update();
}

void CyclingScene::setForces(double left, double right)
{
    m_forceLeft = left;
    m_forceRight = right;
    m_forcesKnown = true;
}

double CyclingScene::leftShare() const
{
    const double left = std::max(0.0, m_forceLeft);
    const double right = std::max(0.0, m_forceRight);
    return left + right > 0.0 ? left / (left + right) : 0.5;
}

void CyclingScene::frame()
{
    // At most a few frames' worth at once, so that a stalled machine does not make the road jump.
    advance(std::min<qint64>(m_clock.restart(), 4 * kFrameIntervalMs));
    update();
}

void CyclingScene::advance(qint64 elapsedMs)
{
    const double seconds = double(elapsedMs) / 1000.0;
    const double speed = std::clamp(m_speed, 0.0, 2 * kTopSpeed);
    m_distance += speed / 3.6 * seconds;
    m_drift += seconds;
    const double ease = std::min(1.0, seconds / 0.6);
    m_riderLead += (std::min(speed / kTopSpeed, 1.0) - m_riderLead) * ease;
    m_shownShare += (leftShare() - m_shownShare) * std::min(1.0, seconds / 0.25);
}

void CyclingScene::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double u = unit();
    const double metres = m_distance * kPixelsPerMetre * u;

    drawSky(painter);
    drawHills(painter, height() * 0.63, 95 * u, metres * 0.08, 640 * u, m_palette.farHills);
    drawHills(painter, height() * 0.70, 60 * u, metres * 0.22, 410 * u, m_palette.nearHills);
    QLinearGradient grass(0, height() * kGrassTop, 0, height());
    grass.setColorAt(0, m_palette.grassTop);
    grass.setColorAt(1, m_palette.grassBottom);
    painter.fillRect(QRectF(0, height() * kGrassTop, width(), height() * (1 - kGrassTop)), grass);
    drawTrees(painter);
    drawRoad(painter);
    drawRider(painter);
    drawSpeed(painter);
    drawUserName(painter);
    drawBalance(painter);

    if (m_phase == Phase::Paused)
        drawNotice(painter, QStringLiteral("已暂停  Paused"), true);
    else if (m_phase == Phase::Waiting)
        drawNotice(painter, QStringLiteral("准备出发  Ready to ride"), false);
}

void CyclingScene::drawSky(QPainter &painter) const
{
    const double u = unit();
    QLinearGradient sky(0, 0, 0, height() * kHorizon);
    sky.setColorAt(0, m_palette.skyTop);
    sky.setColorAt(1, m_palette.skyHorizon);
    painter.fillRect(QRectF(0, 0, width(), height() * kGrassTop), sky);

    const QPointF sun(width() * 0.78, height() * 0.19);
    QRadialGradient glow(sun, 170 * u);
    QColor halo = m_palette.sun;
    halo.setAlpha(120);
    glow.setColorAt(0, halo);
    halo.setAlpha(0);
    glow.setColorAt(1, halo);
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(sun, 170 * u, 170 * u);
    painter.setBrush(m_palette.sun);
    painter.drawEllipse(sun, 58 * u, 58 * u);

    // Clouds drift on their own and a little with the ride.
    const double span = width() + 420 * u;
    const double drift = m_drift * 9 * u + m_distance * kPixelsPerMetre * u * 0.03;
    painter.setBrush(QColor(255, 255, 255, 190));
    for (int i = 0; i < 6; ++i) {
        const double x = std::fmod(i * span / 6 - drift + 100 * span, span) - 210 * u;
        const double y = height() * (0.07 + 0.045 * (i % 3));
        const double size = (0.8 + 0.15 * (i % 4)) * u;
        painter.drawEllipse(QPointF(x, y), 70 * size, 26 * size);
        painter.drawEllipse(QPointF(x + 45 * size, y - 16 * size), 48 * size, 30 * size);
        painter.drawEllipse(QPointF(x - 40 * size, y - 8 * size), 40 * size, 22 * size);
    }
}

void CyclingScene::drawHills(QPainter &painter, double baseY, double amplitude, double offset, double period,
                             const QColor &color) const
{
    QPainterPath hills;
    hills.moveTo(0, height());
    const double step = std::max(4.0, width() / 160.0);
    for (double x = 0; x <= width() + step; x += step) {
        const double t = (x + offset) / period * 2 * M_PI;
        const double rise = 0.55 + 0.3 * std::sin(t) + 0.15 * std::sin(2.3 * t + 1.7);
        hills.lineTo(x, baseY - amplitude * rise);
    }
    hills.lineTo(width() + step, height());
    hills.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(hills);
}

void CyclingScene::drawTrees(QPainter &painter) const
{
    const double u = unit();
    const double spacing = 330 * u;
    const double offset = m_distance * kPixelsPerMetre * u * 0.55;
    const int first = int(std::floor(offset / spacing));
    painter.setPen(Qt::NoPen);
    for (int i = first; spacing * (i - first) < width() + 2 * spacing; ++i) {
        const double x = i * spacing - offset + 60 * u;
        // The same tree keeps its look as it passes.
        const unsigned hash = unsigned(i) * 2654435761u;
        const double size = (0.75 + (hash % 40) / 100.0) * u;
        const double base = height() * (kGrassTop + 0.025);
        painter.setBrush(QColor(110, 84, 62));
        painter.drawRect(QRectF(x - 7 * size, base - 60 * size, 14 * size, 60 * size));
        painter.setBrush(m_palette.trees);
        painter.drawEllipse(QPointF(x, base - 88 * size), 42 * size, 50 * size);
        painter.setBrush(m_palette.trees.lighter(112));
        painter.drawEllipse(QPointF(x - 12 * size, base - 100 * size), 22 * size, 24 * size);
    }
}

void CyclingScene::drawRoad(QPainter &painter) const
{
    const double u = unit();
    const double top = height() * kRoadTop;
    const double bottom = height() * kRoadBottom;
    painter.fillRect(QRectF(0, top, width(), bottom - top), m_palette.road);
    painter.fillRect(QRectF(0, top, width(), 5 * u), m_palette.road.lighter(135));
    painter.fillRect(QRectF(0, bottom - 5 * u, width(), 5 * u), m_palette.road.lighter(135));

    // The centre dashes move with the ride at full speed: they are nearest.
    const double period = 180 * u;
    const double shift = std::fmod(m_distance * kPixelsPerMetre * u, period);
    const double y = (top + bottom) / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(245, 240, 225));
    for (double x = -shift; x < width(); x += period)
        painter.drawRoundedRect(QRectF(x, y - 4 * u, 90 * u, 8 * u), 3 * u, 3 * u);
}

void CyclingScene::drawRider(QPainter &painter) const
{
    const double u = unit();
    const double ground = height() * kWheelGround;
    const double wheel = 58 * u;
    const double x = width() * (0.34 + 0.10 * m_riderLead);
    const QPointF rear(x - 105 * u, ground - wheel);
    const QPointF front(x + 105 * u, ground - wheel);
    const QPointF bracket(x - 8 * u, ground - wheel + 8 * u);
    const QPointF seat(x - 42 * u, ground - wheel - 104 * u);
    const QPointF headTube(x + 70 * u, ground - wheel - 92 * u);
    const QPointF bar(x + 80 * u, ground - wheel - 118 * u);
    const double crank = 26 * u;
    const QPointF nearPedal = onCircle(bracket, crank, m_angle);
    const QPointF farPedal = onCircle(bracket, crank, m_angle + 180);
    // A slight bob with each half turn of the crank.
    const QPointF bob(0, 1.8 * u * std::sin(qDegreesToRadians(2.0 * m_angle)));
    const QPointF hip = seat + QPointF(0, -12 * u) + bob;
    const QPointF shoulder = hip + QPointF(62 * u, -86 * u);
    const double thigh = 80 * u;
    const double shin = 80 * u;

    const auto line = [&](const QPointF &a, const QPointF &b, const QColor &color, double width) {
        painter.setPen(QPen(color, width * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(a, b);
    };
    const auto leg = [&](const QPointF &foot, const QColor &shorts, const QColor &skin) {
        const QPointF k = knee(hip, foot, thigh, shin);
        line(hip, k, shorts, 24);
        line(k, foot, skin, 17);
        line(foot + QPointF(-6 * u, 0), foot + QPointF(14 * u, 0), kInk, 9);
    };

    // Far side first, so that the near side covers it.
    leg(farPedal, kShorts.darker(130), kSkin.darker(125));
    line(bracket, farPedal, kInk.lighter(140), 6);

    const double wheelTurn = qRadiansToDegrees(m_distance * kPixelsPerMetre * u / wheel);
    for (const QPointF &hub : {rear, front}) {
        painter.setPen(QPen(kTyre, 9 * u));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(hub, wheel, wheel);
        painter.setPen(QPen(QColor(190, 196, 200), 1.6 * u));
        for (int spoke = 0; spoke < 8; ++spoke)
            painter.drawLine(hub, onCircle(hub, wheel - 4 * u, wheelTurn + spoke * 45.0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(kInk);
        painter.drawEllipse(hub, 5 * u, 5 * u);
    }

    line(rear, bracket, kFrame, 8);
    line(rear, seat, kFrame, 7);
    line(seat, bracket, kFrame, 9);
    line(seat + QPointF(8 * u, 6 * u), headTube, kFrame, 9);
    line(bracket, headTube, kFrame, 10);
    line(headTube, front, kFrame, 8);
    line(headTube, bar, kInk, 7);
    line(bar, bar + QPointF(22 * u, 4 * u), kInk, 7);
    line(seat + QPointF(-16 * u, -4 * u), seat + QPointF(16 * u, -4 * u), kInk, 9);

    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk.lighter(120));
    painter.drawEllipse(bracket, 11 * u, 11 * u);
    line(bracket, nearPedal, kInk.lighter(140), 7);

    line(hip, shoulder, kShirt, 30);
    leg(nearPedal, kShorts, kSkin);
    const QPointF elbow = shoulder + QPointF(30 * u, 28 * u) + bob * 0.5;
    line(shoulder, elbow, kShirt, 16);
    line(elbow, bar + QPointF(14 * u, 0), kSkin, 12);

    const QPointF head = shoulder + QPointF(22 * u, -34 * u);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSkin);
    painter.drawEllipse(head, 21 * u, 21 * u);
    QPainterPath helmet;
    helmet.moveTo(head + QPointF(-26 * u, 2 * u));
    helmet.cubicTo(head + QPointF(-24 * u, -30 * u), head + QPointF(20 * u, -34 * u), head + QPointF(30 * u, -2 * u));
    helmet.closeSubpath();
    painter.setBrush(kHelmet);
    painter.drawPath(helmet);
}

void CyclingScene::drawSpeed(QPainter &painter) const
{
    const double u = unit();
    const QRectF card(32 * u, 28 * u, 330 * u, 150 * u);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kCard);
    painter.drawRoundedRect(card, 22 * u, 22 * u);
    painter.setPen(kInk.lighter(150));
    painter.setFont(sized(26 * u));
    painter.drawText(card.adjusted(26 * u, 16 * u, 0, 0), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("速度  Speed"));
    painter.setPen(kInk);
    painter.setFont(sized(72 * u, true));
    const QRectF value = card.adjusted(26 * u, 52 * u, -20 * u, -10 * u);
    painter.drawText(value, Qt::AlignLeft | Qt::AlignVCenter, QString::number(m_speed, 'f', 1));
    painter.setFont(sized(28 * u));
    painter.setPen(kInk.lighter(150));
    painter.drawText(value, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("km/h"));
}

void CyclingScene::drawUserName(QPainter &painter) const
{
    if (m_userName.isEmpty())
        return;
    const double u = unit();
    painter.setFont(sized(34 * u, true));
    const QString text = painter.fontMetrics().elidedText(m_userName, Qt::ElideRight, int(520 * u));
    const double textWidth = painter.fontMetrics().horizontalAdvance(text);
    const QRectF card(width() - 32 * u - textWidth - 56 * u, 28 * u, textWidth + 56 * u, 76 * u);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kCard);
    painter.drawRoundedRect(card, 22 * u, 22 * u);
    painter.setPen(kInk);
    painter.drawText(card, Qt::AlignCenter, text);
}

void CyclingScene::drawBalance(QPainter &painter) const
{
    const double u = unit();
    // High in the middle: the host's training page keeps its side panels and its buttons over
    // the game's edges and bottom, and its stage notice over the top.
    const double barWidth = std::min(width() * 0.36, 700 * u);
    const QRectF card((width() - barWidth) / 2 - 150 * u, height() * 0.125, barWidth + 300 * u, height() * 0.07);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kCard);
    painter.drawRoundedRect(card, card.height() / 2, card.height() / 2);

    const QRectF bar((width() - barWidth) / 2, card.center().y() - 12 * u, barWidth, 24 * u);
    const double share = m_forcesKnown ? m_shownShare : 0.5;
    painter.setBrush(kRightSide);
    painter.drawRoundedRect(bar, 12 * u, 12 * u);
    painter.save();
    painter.setClipRect(QRectF(bar.left(), bar.top(), bar.width() * share, bar.height()));
    painter.setBrush(kLeftSide);
    painter.drawRoundedRect(bar, 12 * u, 12 * u);
    painter.restore();
    painter.setPen(QPen(Qt::white, 4 * u));
    painter.drawLine(QPointF(bar.center().x(), bar.top() - 6 * u), QPointF(bar.center().x(), bar.bottom() + 6 * u));

    const int leftPercent = m_forcesKnown ? int(std::lround(share * 100)) : 50;
    painter.setFont(sized(26 * u, true));
    painter.setPen(kLeftSide.darker(130));
    painter.drawText(QRectF(card.left(), card.top(), 140 * u, card.height()), Qt::AlignCenter,
                     QStringLiteral("左 L %1%").arg(leftPercent));
    painter.setPen(kRightSide.darker(140));
    painter.drawText(QRectF(card.right() - 140 * u, card.top(), 140 * u, card.height()), Qt::AlignCenter,
                     QStringLiteral("右 R %1%").arg(100 - leftPercent));
}

void CyclingScene::drawNotice(QPainter &painter, const QString &text, bool veil) const
{
    const double u = unit();
    if (veil)
        painter.fillRect(rect(), QColor(28, 38, 52, 110));
    painter.setFont(sized(56 * u, true));
    const double textWidth = painter.fontMetrics().horizontalAdvance(text);
    const QRectF card((width() - textWidth) / 2 - 70 * u, height() * 0.34, textWidth + 140 * u, 120 * u);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, veil ? 235 : 200));
    painter.drawRoundedRect(card, 30 * u, 30 * u);
    painter.setPen(kInk);
    painter.drawText(card, Qt::AlignCenter, text);
}
