// Scores each hand of tools/oracle/hand_export's JSON lines (stdin) with the independent
// scorer @kobalab/majiang-core, used only through its public calls (Shoupai.fromString,
// Util.hule, Util.hule_param, rule), and compares han, fu and payment hand by hand.
//   node compare.js ORACLE_DIR [--fixture FILE --fixture-count N]
// Prints the agreement counts, how often each yaku occurred in agreeing hands, and every
// disagreement. With --fixture, writes the first N agreeing hands with the oracle's answers in
// the fixture form "<hand notation> => <han> <fu> <payment>", "=> Y<yakuman> - <payment>" or
// "=> none" for a hand without yaku (see
// tallydrill/scoring/oracle_fixture_test.cpp). Exit status 1 when any hand disagrees.
'use strict';

const fs = require('fs');
const path = require('path');
const readline = require('readline');

const args = process.argv.slice(2);
const oracleDir = args[0];
let fixtureFile = null;
let fixtureCount = 0;
for (let i = 1; i < args.length; i += 2) {
    if (args[i] === '--fixture') fixtureFile = args[i + 1];
    else if (args[i] === '--fixture-count') fixtureCount = Number(args[i + 1]);
}
const Majiang = require(path.join(oracleDir, 'node_modules', '@kobalab', 'majiang-core'));

// The pack's rules: kuitan, red fives, back dora and kan dora, kazoe yakuman, different yakuman
// adding up, no yakuman counting double by itself, no rounding up to mangan, no pao, a pair of
// a double wind 4 fu.
const rule = Majiang.rule({
    'クイタンあり': true,
    '赤牌': {m: 1, p: 1, s: 1},
    '裏ドラあり': true,
    'カンドラあり': true,
    'カン裏あり': true,
    '数え役満あり': true,
    '役満の複合あり': true,
    'ダブル役満あり': false,
    '切り上げ満貫あり': false,
    '役満パオあり': false,
    '連風牌は2符': false,
});

// "123m40p" -> [["m","1"],["m","2"],...]
function tiles(text) {
    const out = [];
    let digits = '';
    for (const ch of text) {
        if (ch >= '0' && ch <= '9') {
            digits += ch;
        } else {
            for (const d of digits) out.push([ch, d]);
            digits = '';
        }
    }
    return out;
}
const order = (d) => (d === '0' ? 5 : Number(d));

function suitString(list) {
    let text = '';
    for (const suit of 'mpsz') {
        const digits = list.filter((t) => t[0] === suit).map((t) => t[1]);
        if (digits.length) text += suit + digits.sort((a, b) => order(a) - order(b)).join('');
    }
    return text;
}

function callString(key, value) {
    const list = tiles(value);
    const suit = list[0][0];
    const digits = list.map((t) => t[1]).sort((a, b) => order(a) - order(b));
    switch (key) {
    case 'chi':
        return suit + digits[0] + '-' + digits.slice(1).join('');
    case 'pon':
        return suit + digits.join('') + '=';
    case 'kan':
        return suit + digits.join('') + '=';
    case 'added':
        return suit + digits.slice(0, 3).join('') + '=' + digits[3];
    case 'ankan':
        return suit + digits.join('');
    }
    throw new Error('unknown call ' + key);
}

const winds = 'ESWN';

// The usual Japanese names of the yaku, as the oracle reports them, and ours; dora are left out.
const yakuNames = [
    ['立直', 'Riichi'], ['門前清自摸和', 'Menzen tsumo'], ['平和', 'Pinfu'], ['断幺九', 'Tanyao'],
    ['一盃口', 'Iipeikou'], ['自風', 'Seat wind'], ['場風', 'Round wind'], ['翻牌 白', 'White dragon'],
    ['翻牌 發', 'Green dragon'], ['翻牌 中', 'Red dragon'], ['三色同順', 'Sanshoku doujun'],
    ['一気通貫', 'Ittsu'], ['混全帯幺九', 'Chanta'], ['純全帯幺九', 'Junchan'], ['対々和', 'Toitoi'],
    ['三暗刻', 'Sanankou'], ['三色同刻', 'Sanshoku doukou'], ['三槓子', 'Sankantsu'],
    ['混老頭', 'Honroutou'], ['小三元', 'Shousangen'], ['七対子', 'Chiitoitsu'], ['混一色', 'Honitsu'],
    ['清一色', 'Chinitsu'], ['二盃口', 'Ryanpeikou'], ['国士無双', 'Kokushi musou'],
    ['四暗刻', 'Suuankou'], ['大三元', 'Daisangen'], ['小四喜', 'Shousuushii'],
    ['大四喜', 'Daisuushii'], ['字一色', 'Tsuuiisou'], ['清老頭', 'Chinroutou'],
    ['緑一色', 'Ryuuiisou'], ['九蓮宝燈', 'Chuuren poutou'], ['純正九蓮宝燈', 'Chuuren poutou'],
    ['四槓子', 'Suukantsu'],
];
const doraNames = ['ドラ', '赤ドラ', '裏ドラ'];

function ourYakuName(oracleName) {
    if (doraNames.includes(oracleName)) return null;
    let best = null;
    for (const [japanese, ours] of yakuNames) {
        if (oracleName.startsWith(japanese) && (!best || japanese.length > best[0].length)) {
            best = [japanese, ours];
        }
    }
    return best ? best[1] : '?' + oracleName;
}

function oracleScore(notation) {
    const words = notation.split(' ');
    const concealed = tiles(words[0]);
    const win = tiles(words[1])[0];
    const tsumo = words[2] === 'tsumo';
    const round = winds.indexOf(words[3][0]);
    const seat = winds.indexOf(words[3][2]);
    let riichi = false;
    const calls = [];
    let dora = [];
    let ura = null;
    for (const word of words.slice(4)) {
        const [key, value] = word.split(':');
        if (key === 'riichi') riichi = true;
        else if (key === 'dora') dora = tiles(value).map((t) => t[0] + t[1]);
        else if (key === 'ura') ura = tiles(value).map((t) => t[0] + t[1]);
        else calls.push(callString(key, value));
    }
    let text = suitString(concealed);
    if (tsumo) text += win[0] + win[1];
    if (calls.length) text += ',' + calls.join(',');
    const shoupai = Majiang.Shoupai.fromString(text);
    const param = Majiang.Util.hule_param({
        rule,
        zhuangfeng: round,
        menfeng: seat,
        lizhi: riichi ? 1 : 0,
        baopai: dora,
        fubaopai: riichi ? ura || [] : null,
    });
    const result = Majiang.Util.hule(shoupai, tsumo ? null : win[0] + win[1] + '-', param);
    if (!result || !result.defen) return {error: 'no win', text};
    let payment;
    const fenpei = result.fenpei;
    if (!tsumo) {
        payment = String(-Math.min(...fenpei));
    } else if (seat === 0) {
        payment = String(-fenpei[1]) + ' a';
    } else {
        const nonDealer = fenpei.findIndex((v, i) => i !== 0 && i !== seat);
        payment = String(-fenpei[nonDealer]) + ' ' + String(-fenpei[0]);
    }
    const yakuman = result.damanguan || 0;
    return {han: result.fanshu, fu: result.fu, yakuman, payment, text,
            yaku: (result.hupai || []).map((h) => h.name + ' ' + h.fanshu),
            yakuNames: (result.hupai || []).map((h) => ourYakuName(h.name)).filter((n) => n)};
}

const counts = {hands: 0, agree: 0, disagree: 0, bothNoWin: 0};
const yakuSeen = {};
const fixture = [];
const rl = readline.createInterface({input: process.stdin});
rl.on('line', (line) => {
    if (!line.trim()) return;
    const ours = JSON.parse(line);
    let theirs;
    try {
        theirs = oracleScore(ours.hand);
    } catch (e) {
        theirs = {error: 'oracle refused: ' + String(e.message).split('\n')[0], text: ''};
    }
    counts.hands++;
    let agree;
    if (ours.error || theirs.error) {
        agree = ours.error === 'a complete hand without a yaku' && theirs.error === 'no win';
        if (agree) counts.bothNoWin++;
    } else if (ours.yakuman > 0 || theirs.yakuman > 0) {
        agree = ours.yakuman === theirs.yakuman && ours.payment === theirs.payment;
    } else {
        agree = ours.han === theirs.han && ours.fu === theirs.fu && ours.payment === theirs.payment;
    }
    if (agree && !ours.error) {
        // The same yaku, not only the same han.
        agree = JSON.stringify([...ours.yaku].sort()) ===
                JSON.stringify([...theirs.yakuNames].sort());
    }
    if (agree) {
        counts.agree++;
        for (const y of ours.yaku) yakuSeen[y] = (yakuSeen[y] || 0) + 1;
        if (fixtureFile && fixture.length < fixtureCount) {
            const value = ours.error ? 'none' :
                theirs.yakuman ? `Y${theirs.yakuman} - ${theirs.payment}` :
                `${theirs.han} ${theirs.fu} ${theirs.payment}`;
            fixture.push(ours.hand + ' => ' + value);
        }
    } else {
        counts.disagree++;
        console.log('DISAGREE ' + ours.source + ': ' + ours.hand);
        console.log('  ours:   ' + (ours.error || `${ours.han} han ${ours.fu} fu` +
                    (ours.yakuman ? ` yakuman x${ours.yakuman}` : '') +
                    ` ${ours.payment} [${ours.yaku.join(', ')}]`));
        console.log('  oracle: ' + (theirs.error || `${theirs.han} han ${theirs.fu} fu` +
                    (theirs.yakuman ? ` yakuman x${theirs.yakuman}` : '') +
                    ` ${theirs.payment} [${theirs.yaku.join(', ')}]`) + '  (' + theirs.text + ')');
    }
});
rl.on('close', () => {
    console.log(`hands ${counts.hands}, agree ${counts.agree} (no yaku in both: ` +
                `${counts.bothNoWin}), disagree ${counts.disagree}`);
    const names = Object.keys(yakuSeen).sort((a, b) => yakuSeen[b] - yakuSeen[a]);
    console.log('yaku in agreeing hands: ' + names.map((n) => `${n} ${yakuSeen[n]}`).join(', '));
    if (fixtureFile) {
        fs.writeFileSync(fixtureFile, fixture.join('\n') + '\n');
        console.log(`fixture: ${fixture.length} hands in ${fixtureFile}`);
    }
    process.exitCode = counts.disagree ? 1 : 0;
});
