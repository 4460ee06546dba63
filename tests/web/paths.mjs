// Where the tests find what they test: the built site and the native companion, from
// the environment (scripts/test-web.sh sets both) or the presets' build folders.
import { execFileSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import { resolve } from 'node:path';

export const kRoot = resolve(fileURLToPath(new URL('../..', import.meta.url)));
export const kSiteDir = process.env.QUILLMERE_SITE ?? `${kRoot}/build/web/site`;
export const kCompanion = process.env.QUILLMERE_CLI ?? `${kRoot}/build/native/cli/quillmere-cli`;

// The companion's tsv lines for its arguments (without --format), with --wide as the
// page's grid has them (registers, tolerance, longest bus, TDC offset); [] when it
// lists none.
export function CompanionLines(args) {
  const out = execFileSync(kCompanion, [...args, '--format', 'tsv', '--wide'], { encoding: 'latin1', maxBuffer: 1 << 28 });
  return out === '' ? [] : out.replace(/\n$/, '').split('\n');
}

// The page's rows for the companion's arguments (without --format): the companion's
// tsv lines with --wide and, for bxCAN and FDCAN, whose companion lines keep the
// columns scripts read, the page's own Tq (ns) after the prescaler (as the table
// controllers' rows have it). The quantum is worked out here from the clock asked
// for, exactly: prescaler x 10^6 / kHz ns to thousandths, ties up, no trailing zeros.
export function PageRows(args) {
  const lines = CompanionLines(args);
  const option = (name, fallback) => (args.includes(name) ? args[args.indexOf(name) + 1] : fallback);
  const controller = option('--controller', 'bxcan');
  if (controller !== 'bxcan' && controller !== 'fdcan') return lines;
  const [whole, fraction = ''] = option('--clock', '42').split('.');
  const clockKHz = BigInt(whole) * 1000n + BigInt(fraction.padEnd(3, '0'));
  const prescalerAt = controller === 'bxcan' ? 2 : 3;
  return lines.map((line) => {
    if (line === '') return line;
    const cells = line.split('\t');
    const scaled = BigInt(cells[prescalerAt]) * 1000000000n;
    let thousandths = scaled / clockKHz;
    if (2n * (scaled % clockKHz) >= clockKHz) thousandths += 1n;
    const digits = String(thousandths % 1000n).padStart(3, '0').replace(/0+$/, '');
    cells.splice(prescalerAt + 1, 0, `${thousandths / 1000n}${digits ? `.${digits}` : ''}`);
    return cells.join('\t');
  });
}

// The companion's output for its arguments, as it prints it.
export function CompanionText(args) {
  return execFileSync(kCompanion, args, { encoding: 'utf8' });
}
