// Writes the station map as SVG on standard output: the contiguous United States with state
// borders in red on black, and the codes of the map table in green, each centred in its
// rectangle. The projection is the one the rectangles were laid out for: north-polar
// stereographic about 97 degrees west,
//   x = 225.06 + 967.62 rho sin(lon + 97),  y = -311.83 + 967.62 rho cos(lon + 97),
//   rho = tan(45 - lat / 2)   (degrees).
// Borders: US Census Bureau cartographic boundaries (public domain) as packaged by us-atlas.
import fs from 'node:fs';
import path from 'node:path';
import { geoPath, geoProjection } from 'd3-geo';
import { feature } from 'topojson-client';
import { escapeXml, pickMapTable, readStations, toolsDir, unlabelledCodes } from './common.mjs';

const width = 450;
const height = 300;
const scale = 967.62;
const origin = [225.06, -311.83];
const centralMeridian = -97;

// Alaska, Hawaii and the territories lie outside the frame or are not part of the map.
const excludedStates = new Set(['02', '15', '60', '66', '69', '72', '78']);

function stereographicPolar(lambda, phi) {
  const rho = Math.tan(Math.PI / 4 - phi / 2);
  return [rho * Math.sin(lambda), -rho * Math.cos(lambda)];
}

// d3 puts the projection's centre (raw point [0, -1] at lambda = phi = 0) on the translation
// and turns y downwards, so y = ty - scale + scale * rho cos(lambda).
const projection = geoProjection(stereographicPolar)
  .rotate([-centralMeridian, 0])
  .scale(scale)
  .translate([origin[0], origin[1] + scale])
  .clipExtent([[-1, -1], [width + 1, height + 1]])
  .precision(0.1);

function project(lon, lat) {
  const rho = Math.tan(((45 - lat / 2) * Math.PI) / 180);
  const a = ((lon - centralMeridian) * Math.PI) / 180;
  return [origin[0] + scale * rho * Math.sin(a), origin[1] + scale * rho * Math.cos(a)];
}

// The formula and d3's projection must agree, or the borders would not fit the rectangles.
for (const [lon, lat] of [[-97, 40], [-122.4, 37.6], [-70.3, 43.6], [-80.3, 25.8]]) {
  const [x1, y1] = project(lon, lat);
  const [x2, y2] = projection([lon, lat]);
  if (Math.hypot(x1 - x2, y1 - y2) > 1e-6) throw new Error(`projection mismatch at ${lon},${lat}`);
}

// Every map station must land near the centre of its rectangle (they lie within about 3
// pixels); a larger distance means the projection or the table is wrong.
const stations = new Map(readStations().map((s) => [s.code, s]));
for (const [code, left, top, right, bottom] of pickMapTable) {
  const s = stations.get(code);
  if (!s) throw new Error(`${code}: not in stations.csv`);
  const [x, y] = project(s.lon, s.lat);
  const d = Math.hypot(x - (left + right + 1) / 2, y - (top + bottom + 1) / 2);
  if (d > 4.5) throw new Error(`${code}: projected ${d.toFixed(1)} px from its rectangle's centre`);
}

const atlas = JSON.parse(
  fs.readFileSync(path.join(toolsDir, 'node_modules/us-atlas/states-10m.json'), 'utf8'));
const contiguous = {
  type: 'GeometryCollection',
  geometries: atlas.objects.states.geometries.filter((g) => !excludedStates.has(g.id)),
};
// The outline of every state. Islands smaller than about two pixels would only smear the
// coasts into red blots at this scale, so rings of such size are left out.
const minRingArea = 2;
const toPixels = geoPath(projection);
function withoutSpecks(geometry) {
  if (geometry.type !== 'MultiPolygon') return geometry;
  const kept = geometry.coordinates.filter(
    (polygon) => toPixels.area({ type: 'Polygon', coordinates: [polygon[0]] }) >= minRingArea);
  return { type: 'MultiPolygon', coordinates: kept };
}
const states = feature(atlas, contiguous).features.map((f) => withoutSpecks(f.geometry));
const pathData = geoPath(projection).digits(2)({ type: 'GeometryCollection', geometries: states });

const labels = pickMapTable
  .filter(([code]) => !unlabelledCodes.has(code))
  .map(([code, left, top, right, bottom]) => {
    // Pixel i covers [i, i + 1]; the capitals' height is about 7.3 px at 10 px DejaVu Sans,
    // so the baseline sits 3.6 px below the centre.
    const cx = (left + right + 1) / 2;
    const cy = (top + bottom + 1) / 2 + 3.6;
    return `  <text x="${cx}" y="${cy.toFixed(1)}">${escapeXml(code)}</text>`;
  });

process.stdout.write(`<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="${width}" height="${height}" viewBox="0 0 ${width} ${height}">
  <rect width="${width}" height="${height}" fill="#000000"/>
  <path d="${pathData}" fill="none" stroke="#ff0000" stroke-width="1" stroke-linejoin="round" shape-rendering="crispEdges"/>
  <g font-family="DejaVu Sans" font-weight="bold" font-size="10" fill="#00ff00" text-anchor="middle" stroke="#000000" stroke-width="2" stroke-linejoin="round" paint-order="stroke">
${labels.join('\n')}
  </g>
</svg>
`);
