// Writes the station list of Skelmar.ini ([STATIONS] and [TIMEZONES]) from the GFS MOS station
// table, with each station's time zone from its coordinates.
//
//   node make_stations.mjs            rewrites ../Skelmar.ini in place
//   node make_stations.mjs --check    fails when ../Skelmar.ini differs from what it would write
//
// Input: gfsmos.stn beside this script, Unidata GEMPAK's table of the stations of the GFS MOS
// guidance (github.com/Unidata/gempak, gempak/tables/stns/gfsmos.stn, commit
// 3407da92f35accf276393cf4f15a90dfe6979fca of 4 March 2026; its last entry in the log is
// "6/15 Updated with information from MDL"). Fixed columns; the fields are blank-separated:
// STID STNM NAME ST CO LAT LON ELEV PRI, latitude and longitude in hundredths of a degree.
// The names of the stations already listed before come from stations.csv, so the map's
// stations keep their names ("Chicago O'Hare, IL (ORD)").
//
// Codes: a contiguous-states identifier (K + 3) is listed without its K, as the program has
// always named those stations; every other identifier (PANC, PHNL, TJSJ) whole.
// Zones: geo-tz (the timezone-boundary-builder polygons) gives the IANA zone of the point. The
// zone index is the zone's standard offset west of UTC in hours; [TIMEZONES] names the zone
// whenever it is not the zone the index stands for in the program (5 America/New_York,
// 6 America/Chicago, 7 America/Denver, 8 America/Los_Angeles), which covers Arizona, Alaska,
// the Aleutians, Hawaii, Puerto Rico and the split states' own zones.
import fs from 'node:fs';
import path from 'node:path';
import { find } from 'geo-tz';
import { readStations, toolsDir } from './common.mjs';

const iniPath = path.join(toolsDir, '..', 'Skelmar.ini');
const indexZones = { 5: 'America/New_York', 6: 'America/Chicago', 7: 'America/Denver', 8: 'America/Los_Angeles' };

const offshoreZones = { AL: 'America/Chicago', LA: 'America/Chicago', MS: 'America/Chicago', TX: 'America/Chicago' };

// Words of the table's names that read better otherwise.
const wordFixes = new Map([
  ['Ft', 'Fort'], ['Ft.', 'Fort'], ['Mtn', 'Mountain'], ['Intl', 'Intl.'], ['Afb', 'AFB'], ['Aaf', 'AAF'],
  ['Nas', 'NAS'], ['Mcas', 'MCAS'], ['Afs', 'AFS'], ['Afr', 'AFR'], ['Arpt', 'Airport'], ['Aprt', 'Airport'],
  ['Ap', 'Airport'], ['Muni', 'Municipal'], ['Rgnl', 'Regional'], ['Cnty', 'County'], ['Co', 'County'],
  ['St', 'St.'], ['Ndb', 'NDB'], ['Mem', 'Memorial'],
]);

function readableName(raw) {
  const words = raw
    // Remarks in parentheses ("(ASOS)", "(SAWRS)", a cut-off "(AS") are left out: the list
    // reads the code from the first "(".
    .replace(/_?\([^)]*(\)|$)/g, '')
    .replace(/_/g, ' ')
    .replace(/^\//, '') // "/MONTICELLO/WAYNE_CN"
    .trim()
    .split(/\s+/)
    .map((word) =>
      word
        .toLowerCase()
        .replace(/(^|[\/\-(.'])([a-z])/g, (m, sep, c) => sep + c.toUpperCase()),
    )
    .map((word) => wordFixes.get(word) ?? word);
  return words.join(' ');
}

// The zone's standard offset west of UTC in hours: the larger of January's and July's.
function standardHoursWest(zone) {
  const westOf = (date) => {
    const text = new Intl.DateTimeFormat('en-US', { timeZone: zone, timeZoneName: 'longOffset' })
      .formatToParts(date)
      .find((p) => p.type === 'timeZoneName').value; // "GMT-05:00"
    const m = text.match(/^GMT(?:([+-])(\d\d):(\d\d))?$/);
    if (!m) throw new Error(`unexpected offset ${text} of ${zone}`);
    return m[1] ? (m[1] === '-' ? 1 : -1) * (Number(m[2]) + Number(m[3]) / 60) : 0;
  };
  const hours = Math.max(westOf(new Date(Date.UTC(2026, 0, 15))), westOf(new Date(Date.UTC(2026, 6, 15))));
  if (!Number.isInteger(hours)) throw new Error(`${zone}: standard offset of ${hours} hours`);
  return hours;
}

function readTable() {
  const text = fs.readFileSync(path.join(toolsDir, 'gfsmos.stn'), 'latin1');
  return text
    .split(/\r?\n/)
    .filter((line) => line.trim() !== '' && !line.startsWith('!'))
    .map((line) => {
      const f = line.trim().split(/\s+/);
      if (f.length !== 9) throw new Error(`gfsmos.stn: cannot read "${line}"`);
      const [id, , name, state, country, lat, lon] = f;
      if (!/^[A-Z0-9]{4}$/.test(id)) throw new Error(`gfsmos.stn: identifier ${id}`);
      return { id, name, state: state === '--' ? country : state, lat: Number(lat) / 100, lon: Number(lon) / 100 };
    });
}

function stationLines() {
  const known = new Map(readStations().map((s) => [s.code, s]));
  const seen = new Set();
  const entries = [];
  const zones = [];
  for (const station of readTable()) {
    const code = /^K[A-Z0-9]{3}$/.test(station.id) ? station.id.slice(1) : station.id;
    if (seen.has(code)) throw new Error(`duplicate code ${code}`);
    seen.add(code);
    let zone = find(station.lat, station.lon)[0];
    // Out at sea the boundaries give a nautical zone: the oil platforms of the Gulf of Mexico
    // keep the time of the coast they are served from.
    if (zone?.startsWith('Etc/')) zone = offshoreZones[station.state];
    if (!zone) throw new Error(`${station.id}: no zone at ${station.lat}, ${station.lon}`);
    const index = standardHoursWest(zone);
    const fact = known.get(code);
    if (fact && fact.zone !== index) throw new Error(`${code}: zone index ${index} from ${zone}, ${fact.zone} in stations.csv`);
    const name = fact ? null : `${readableName(station.name)}, ${station.state} (${code})`;
    if (name !== null && (name.indexOf('(') !== name.lastIndexOf('(') || name.includes('=')))
      throw new Error(`${station.id}: "${name}" would not read as an entry`);
    entries.push({ display: name ?? null, code, index });
    if (indexZones[index] !== zone) zones.push([code, zone]);
  }
  // The stations listed before keep the text they had (the map finds them by it).
  const before = new Map(currentEntries().map((e) => [codeOf(e), e.slice(0, e.lastIndexOf('='))]));
  for (const e of entries) {
    if (e.display === null) {
      e.display = before.get(e.code);
      if (!e.display) throw new Error(`${e.code}: in stations.csv but not in Skelmar.ini`);
    }
  }
  for (const code of known.keys()) if (!seen.has(code)) throw new Error(`${code}: not in gfsmos.stn`);
  entries.sort((a, b) => (a.display < b.display ? -1 : a.display > b.display ? 1 : 0));
  zones.sort((a, b) => (a[0] < b[0] ? -1 : 1));
  return { entries, zones };
}

const codeOf = (entry) => entry.match(/\(([A-Z0-9]{3,4})\)/)[1];

function currentEntries() {
  const text = fs.readFileSync(iniPath, 'latin1');
  const section = text.split('[STATIONS]')[1].split(/\r\n\[/)[0];
  return section.split('\r\n').filter((l) => l !== '' && !l.startsWith(';'));
}

function render() {
  const { entries, zones } = stationLines();
  const stations = [
    '[STATIONS]',
    '; One key per station: the text shown in the list, holding the station code in parentheses;',
    '; the value is the time zone index, the standard offset west of UTC in hours (4 Atlantic,',
    '; 5 Eastern, 6 Central, 7 Mountain, 8 Pacific, 9 Alaska, 10 Hawaii-Aleutian). A station of',
    '; the contiguous states has the three characters of its identifier after the "K"; any other',
    '; station its whole four-letter identifier. The text shown must not contain "=" and must',
    '; have no "(" before the station code. Every station of the GFS guidance, made by',
    '; tools/make_stations.mjs from the GFS MOS station table (see README.md there).',
    ...entries.map((e) => `${e.display}=${e.index}`),
    '',
  ];
  const timezones = [
    '[TIMEZONES]',
    '; Stations whose clocks do not follow the time zone of their index (5 America/New_York,',
    '; 6 America/Chicago, 7 America/Denver, 8 America/Los_Angeles). The key is the station code,',
    '; the value an IANA zone of the system\'s time zone database (or the key name of a zone of',
    '; the time zone list, as in "US Mountain Standard Time"), found from the station\'s',
    '; coordinates: Arizona keeps standard time all year outside the Navajo Nation, Alaska, the',
    '; Aleutians, Hawaii and Puerto Rico have zones of their own, and the split states (Indiana,',
    '; Kentucky, Tennessee, Florida, the Dakotas, Nebraska, Kansas, Texas, Idaho, Oregon and',
    '; Michigan) zones for their parts.',
    ...zones.map(([code, zone]) => `${code}=${zone}`),
    '',
  ];
  const text = fs.readFileSync(iniPath, 'latin1');
  const start = text.indexOf('[STATIONS]');
  const end = text.indexOf('[INTERNET]');
  if (start < 0 || end < start) throw new Error('Skelmar.ini: no [STATIONS] ... [INTERNET]');
  return text.slice(0, start) + [...stations, ...timezones].join('\r\n') + '\r\n' + text.slice(end);
}

const output = render();
if (process.argv.includes('--check')) {
  if (output !== fs.readFileSync(iniPath, 'latin1')) {
    console.error('Skelmar.ini differs from what make_stations.mjs writes');
    process.exit(1);
  }
} else {
  fs.writeFileSync(iniPath, output, 'latin1');
  console.error(`wrote the station list to ${iniPath}`);
}
